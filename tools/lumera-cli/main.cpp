// Headless front end to the reader's logic, for scripts and tests.
// Output: UTF-8 lines ending in LF, a word, one space, the value; messages go
// to stderr.
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include "app/CommandLine.h"
#include "app/LexIni.h"

namespace {

constexpr const char* kUsage =
    "Uso: lumera-cli [-C PASTA] [--drive X:=PASTA]... COMANDO\n"
    "\n"
    "Comandos:\n"
    "  ini    mostra InstallPath e CdRomPath lidos do lex.ini\n";

int runIni(QTextStream& out, QTextStream& err) {
    const lumera::LexIniReading ini = lumera::ReadLexIni();
    if (!ini.found) {
        err << "lumera-cli: o arquivo lex.ini não foi encontrado na pasta " << QDir::currentPath()
            << "\n";
    }
    out << "InstallPath=" << ini.paths.installPath << "\n";
    out << "CdRomPath=" << ini.paths.cdRomPath << "\n";
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);

    lumera::CommandLine line = lumera::CommandLine::parse(app.arguments().mid(1));
    if (line.help) {
        out << kUsage;
        return 0;
    }
    if (line.version) {
        out << "lumera-cli " << LUMERA_VERSION << "\n";
        return 0;
    }
    if (!line.error.isEmpty() || line.positional.isEmpty()) {
        err << "lumera-cli: "
            << (line.error.isEmpty() ? QStringLiteral("falta o comando") : line.error) << "\n"
            << kUsage;
        return 2;
    }
    if (!line.applyDirectory()) {
        err << "lumera-cli: " << line.error << "\n";
        return 1;
    }
    const QString command = line.positional.first();
    if (command == u"ini" && line.positional.size() == 1) return runIni(out, err);
    err << "lumera-cli: comando desconhecido: " << line.positional.join(u' ') << "\n" << kUsage;
    return 2;
}
