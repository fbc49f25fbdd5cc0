#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

#include "app/LexIni.h"
#include "host/ReaderState.h"

namespace lumera {

class Browser;
class PageCommands;
class SearchEngineFactory;
class WindowSystem;

// The main window's start-up and commands, without the widgets, so that the
// reader's behaviour runs the same on a screen and in tests.
class Form1Controller {
  public:
    struct Services {
        Browser& browser;
        // What the menu's commands do to the page shown.
        PageCommands& page;
        WindowSystem& windows;
        SearchEngineFactory& engines;
        // Told the two paths once lex.ini is read, before the home navigation
        // (the drive map learns the installation and the CD drive here).
        std::function<void(const ContentPaths&)> contentLocated;
        // Ends the program at once.
        std::function<void()> endProgram;
    };

    Form1Controller(ReaderState& state, Services services);

    void Form_Load();
    void Form_Activate() { InitSearchEngine(); }
    void InitSearchEngine();

    void hom_Click();
    void cp_Click();
    void prn_Click();
    void pta_Click();
    void gp_Click();
    void sb_Click();
    void Sa_Click();

    QString homeAddress() const;

  private:
    ReaderState& state_;
    Services services_;
};

// The home page every start and the "Início" command show.
QString HomeAddress(const ContentPaths& paths);

// Where the browser sits in the window's client area: at the top-left corner,
// filling it, never with a negative size.
QRect BrowserGeometry(QSize clientArea);

inline const QString kAboutTitle = QStringLiteral("Lumera");
QString AboutText();

}  // namespace lumera
