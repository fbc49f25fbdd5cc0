#include "app/Form1Controller.h"

#include <QDir>

#include "host/Browser.h"
#include "host/PageCommands.h"
#include "host/SearchEngine.h"
#include "host/WindowSystem.h"

namespace lumera {

Form1Controller::Form1Controller(ReaderState& state, Services services)
    : state_(state), services_(std::move(services)) {}

void Form1Controller::Form_Load() {
    const LexIniReading ini = ReadLexIni();
    if (!ini.found) {
        services_.windows.MessageBox(
            QStringLiteral("O arquivo lex.ini não foi encontrado na pasta %1.\n\n"
                           "Ele indica onde a enciclopédia está instalada (PATH=) e qual é "
                           "a unidade do CD-ROM (CDROM=). O programa vai continuar, mas não "
                           "conseguirá mostrar o conteúdo.")
                .arg(QDir::toNativeSeparators(QDir::currentPath())),
            QStringLiteral("Lumera Edição 2002"), kMessageExclamation);
    }
    state_.InstallPath = ini.paths.InstallPath;
    state_.CdRomPath = ini.paths.CdRomPath;
    if (services_.contentLocated) services_.contentLocated(ini.paths);
    services_.browser.Navigate(homeAddress());
}

void Form1Controller::InitSearchEngine() {
    // The old engine goes first; jobs it made stay readable on their own.
    state_.engine.reset();
    std::shared_ptr<SearchEngine> engine = services_.engines.create();
    if (!engine) return;
    engine->Initialize();
    state_.engine = std::move(engine);
}

QString Form1Controller::homeAddress() const { return HomeAddress(state_); }

QString HomeAddress(const ContentPaths& paths) {
    return paths.CdRomPath + QStringLiteral("\\lex2000\\joia.htm");
}

void Form1Controller::hom_Click() { services_.browser.Navigate(homeAddress()); }
void Form1Controller::cp_Click() { services_.page.Copy(); }
void Form1Controller::prn_Click() { services_.page.Print(); }
void Form1Controller::pta_Click() { services_.page.Find(); }
void Form1Controller::gp_Click() { services_.page.SaveAs(); }

void Form1Controller::sb_Click() {
    services_.windows.MessageBox(AboutText(), kAboutTitle, kMessageInformation);
}

void Form1Controller::Sa_Click() {
    if (services_.endProgram) services_.endProgram();
}

QString AboutText() {
    return QStringLiteral(
               "Lumera - Enciclopédia Multimídia, Edição 2002\n\n"
               "Leitor para Linux, versão %1.\n"
               "Os textos, imagens e sons da enciclopédia pertencem aos seus autores e "
               "editores; todos os direitos reservados.")
        .arg(QStringLiteral(LUMERA_VERSION));
}

QRect BrowserGeometry(QSize clientArea) {
    return QRect(0, 0, qMax(0, clientArea.width()), qMax(0, clientArea.height()));
}

}  // namespace lumera
