// The reader: the main window on the real browser, drive map and engine.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include "app/CommandLine.h"
#include "app/EditionSetup.h"
#include "app/SampleEdition.h"
#include "browser/BrowserProcess.h"
#include "reader/FirstRun.h"
#include "reader/Reader.h"
#include "ui/PortugueseDialogs.h"

namespace {

constexpr const char* kUsage =
    "Uso: lumera [-C PASTA] [--drive X:=PASTA]... [--sample|--or-sample|--setup]\n"
    "            [--screenshot ARQUIVO]\n"
    "\n"
    "Abre a enciclopédia Lumera Edição 2002. O lex.ini é lido da pasta atual; sem\n"
    "ele, abre a edição instalada a partir do CD ou, se não houver, a janela que a\n"
    "instala (do CD, de uma cópia dele ou da sua imagem de disco).\n"
    "  -C PASTA          entra em PASTA antes de tudo (o lex.ini é lido de lá)\n"
    "  --drive X:=PASTA  a unidade X: do Windows é a pasta PASTA (pode repetir);\n"
    "                    também pela variável LUMERA_DRIVES=\"D:=/media/cdrom;C:=/pasta\"\n"
    "  --sample          abre a edição de amostra instalada com o programa, a partir\n"
    "                    de uma cópia em $XDG_DATA_HOME/lumera/sample\n"
    "  --or-sample       sem edição, abre a de amostra em vez da janela de instalação\n"
    "  --setup           abre a janela de instalação a partir do CD ou da sua imagem\n"
    "  --screenshot ARQUIVO\n"
    "                    espera a página inicial, grava a imagem da janela em ARQUIVO\n"
    "                    (PNG) e sai; sai com 1 se a página não abrir em 60 s\n"
    "  --help            mostra esta ajuda\n"
    "  --version         mostra a versão\n";

// The reader's own options, besides those every tool shares.
struct ReaderOptions {
    bool sample = false;
    bool orSample = false;
    bool setup = false;
    QString screenshot;
    QString error;
};

ReaderOptions takeReaderOptions(QStringList& positional) {
    ReaderOptions options;
    QStringList rest;
    for (qsizetype i = 0; i < positional.size(); ++i) {
        if (positional[i] == u"--sample") {
            options.sample = true;
        } else if (positional[i] == u"--or-sample") {
            options.orSample = true;
        } else if (positional[i] == u"--setup") {
            options.setup = true;
        } else if (positional[i] == u"--screenshot") {
            if (i + 1 == positional.size()) {
                options.error = QStringLiteral("A opção --screenshot precisa de um valor.");
                break;
            }
            options.screenshot = positional[++i];
        } else {
            rest.append(positional[i]);
        }
    }
    positional = rest;
    return options;
}

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
    ReaderOptions options = takeReaderOptions(line.positional);
    if (line.error.isEmpty()) line.error = options.error;
    if (!line.error.isEmpty() || !line.positional.isEmpty()) {
        err << "lumera: "
            << (line.error.isEmpty()
                    ? QStringLiteral("argumento desconhecido: ") + line.positional.first()
                    : line.error)
            << "\n"
            << kUsage;
        return 2;
    }
    lumera::PrepareBrowserProcess(QStringLiteral("lumera"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumera"));
    QApplication::setOrganizationName(QStringLiteral("lumera"));
    QApplication::setApplicationVersion(QStringLiteral(LUMERA_VERSION));
    // Wayland's application id: the dock finds the menu entry and icon by it.
    QGuiApplication::setDesktopFileName(QStringLiteral(LUMERA_APP_ID));
    lumera::SpeakPortugueseInQtDialogs();

    const lumera::SampleEdition sample(
        lumera::SampleEdition::installedBeside(QCoreApplication::applicationDirPath()),
        lumera::SampleEdition::defaultUserCopy());
    // Not told where: lex.ini here, as always; else the edition the set-up
    // installed; else the set-up window (or, from the menu, the sample).
    if (line.changeDirectory.isEmpty() && !options.sample &&
        (options.setup || !QFileInfo::exists(QStringLiteral("lex.ini")))) {
        line.changeDirectory = options.setup ? QString() : lumera::editionsetup::InstalledEdition();
        if (line.changeDirectory.isEmpty() && options.orSample && sample.isInstalled()) {
            options.sample = true;
        } else if (line.changeDirectory.isEmpty() && options.screenshot.isEmpty()) {
            // A screenshot run has no one to answer a window.
            bool sampleChosen = false;
            line.changeDirectory = lumera::RunFirstSetup(sample.isInstalled(), &sampleChosen);
            options.sample = sampleChosen;
            if (line.changeDirectory.isEmpty() && !sampleChosen) return 0;
        }
    }
    if (options.sample) {
        if (const QString problem = sample.prepare(); !problem.isEmpty()) {
            err << "lumera: " << problem << "\n";
            return 1;
        }
        line.changeDirectory = sample.folder();
        line.driveMappings.prepend(sample.driveMapping());
    }
    if (!line.applyDirectory()) {
        err << "lumera: " << line.error << "\n";
        return 1;
    }
    if (options.screenshot.isEmpty()) {
        lumera::OfferToFindTheCd(line.driveMappings);
        lumera::OfferIndexIfUnusable();
    }
    return lumera::RunReader(line.driveMappings, options.screenshot);
}
