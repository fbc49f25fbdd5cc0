#include "Commands.h"
#include "app/LexIni.h"
#include "navigation/RouteTrace.h"

namespace lumera::cli {

// route [--request TEXT] EVENT...: each EVENT is a URL raised as
// BeforeNavigate2, or --complete raised as DocumentComplete.
int RunRoute(const CommandContext& context) {
    const LexIniReading ini = ReadLexIni();
    if (!ini.found) context.err << "lumera-cli: o arquivo lex.ini não foi encontrado\n";
    RouteTrace trace(ini.paths.CdRomPath);
    const QStringList& args = context.arguments;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"--request") {
            if (i + 1 >= args.size()) {
                context.err << "lumera-cli: --request precisa de um texto\n";
                return 2;
            }
            trace.setRequestValue(args[++i]);
        } else if (args[i] == u"--complete") {
            trace.documentComplete();
        } else {
            for (const QString& line : trace.navigate(args[i])) context.out << line << "\n";
        }
    }
    return 0;
}

}  // namespace lumera::cli
