#include <QDir>

#include "Commands.h"
#include "app/LexIni.h"

namespace lumera::cli {

int RunIni(const CommandContext& context) {
    const LexIniReading ini = ReadLexIni();
    if (!ini.found) {
        context.err << "lumera-cli: o arquivo lex.ini não foi encontrado na pasta "
                    << QDir::currentPath() << "\n";
    }
    context.out << "InstallPath=" << ini.paths.InstallPath << "\n";
    context.out << "CdRomPath=" << ini.paths.CdRomPath << "\n";
    return 0;
}

}  // namespace lumera::cli
