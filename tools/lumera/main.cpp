// The reader: the main window on the real browser, drive map and engine.
#include <QApplication>
#include <QDir>
#include <QTextStream>

#include "Reader.h"
#include "app/CommandLine.h"
#include "platform/BrowserProcess.h"

namespace {

constexpr const char* kUsage =
    "Uso: lumera [-C PASTA] [--drive X:=PASTA]... [--help] [--version]\n"
    "\n"
    "Abre a enciclopédia Lumera Edição 2002.\n"
    "  -C PASTA          entra em PASTA antes de tudo (o lex.ini é lido de lá)\n"
    "  --drive X:=PASTA  a unidade X: do Windows é a pasta PASTA (pode repetir);\n"
    "                    também pela variável LUMERA_DRIVES=\"D:=/media/cdrom;C:=/pasta\"\n"
    "  --help            mostra esta ajuda\n"
    "  --version         mostra a versão\n";

}  // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    lumera::CommandLine line = lumera::CommandLine::parse(arguments);
    QTextStream err(stderr);
    if (line.help) {
        QTextStream(stdout) << kUsage;
        return 0;
    }
    if (line.version) {
        QTextStream(stdout) << "lumera " << LUMERA_VERSION << "\n";
        return 0;
    }
    if (!line.error.isEmpty() || !line.positional.isEmpty()) {
        err << "lumera: "
            << (line.error.isEmpty()
                    ? QStringLiteral("argumento desconhecido: ") + line.positional.first()
                    : line.error)
            << "\n"
            << kUsage;
        return 2;
    }
    if (!line.applyDirectory()) {
        err << "lumera: " << line.error << "\n";
        return 1;
    }
    lumera::PrepareBrowserProcess(QStringLiteral("lumera"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumera"));
    QApplication::setApplicationVersion(QStringLiteral(LUMERA_VERSION));
    return lumera::RunReader(line.driveMappings);
}
