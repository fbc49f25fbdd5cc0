// The main window: start-up, activation, commands, and the browser in it.
#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/Form1Controller.h"
#include "headless/HeadlessBrowser.h"
#include "headless/HeadlessWindowSystem.h"
#include "support/FileBytes.h"
#include "ui/Form1.h"

using namespace lumera;
using namespace lumera::testing;

namespace {

class CountingEngine : public SearchEngine {
  public:
    QStringList* log;
    explicit CountingEngine(QStringList* l) : log(l) {}
    ~CountingEngine() override { log->append(QStringLiteral("released")); }
    void Initialize() override { log->append(QStringLiteral("Initialize")); }
    std::shared_ptr<SearchJob> NewSearchJob() override { return nullptr; }
};

class CountingFactory : public SearchEngineFactory {
  public:
    QStringList log;
    bool fail = false;
    std::shared_ptr<SearchEngine> create() override {
        log.append(QStringLiteral("create"));
        if (fail) return nullptr;
        return std::make_shared<CountingEngine>(&log);
    }
};

struct Fixture {
    ReaderState state;
    HeadlessBrowser browser;
    HeadlessWindowSystem windows;
    CountingFactory engines;
    QStringList located;
    int ended = 0;
    Form1Controller controller{
        state,
        {browser, browser, windows, engines,
         [this](const ContentPaths& p) { located << p.InstallPath + "|" + p.CdRomPath; },
         [this] { ++ended; }}};
};

// Runs body with the current directory set to a folder holding lex.ini (or none).
template <typename Body>
void inDirectoryWith(const QByteArray* ini, Body body) {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (ini) QVERIFY(writeBytes(dir.filePath(QStringLiteral("lex.ini")), *ini));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    body(dir.path());
    QVERIFY(QDir::setCurrent(previous));
}

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void loadSetsPathsAndGoesHome();
    void missingIniIsReportedAndStartupGoesOn();
    void activationMakesANewEngine();
    void windowMenuAndBrowser();
};

void Form1Test::loadSetsPathsAndGoesHome() {
    const QByteArray ini("PATH=C:\\Program Files\\Lex\\\r\nCDROM=E:\\\r\n");
    inDirectoryWith(&ini, [](const QString&) {
        Fixture f;
        f.controller.Form_Load();
        QCOMPARE(f.state.InstallPath, QStringLiteral("C:\\progra~1\\Lex\\"));
        QCOMPARE(f.state.CdRomPath, QStringLiteral("E:"));
        // The drive map learns the paths before the home page is asked for.
        QCOMPARE(f.located, QStringList{"C:\\progra~1\\Lex\\|E:"});
        QCOMPARE(f.browser.calls, QStringList{"Navigate E:\\lex2000\\joia.htm"});
        QVERIFY(f.windows.messages.isEmpty());
        QVERIFY(f.engines.log.isEmpty());  // no engine before the first activation
    });
}

void Form1Test::missingIniIsReportedAndStartupGoesOn() {
    inDirectoryWith(nullptr, [](const QString& dir) {
        Fixture f;
        f.controller.Form_Load();
        QCOMPARE(f.windows.messages.size(), 1);
        QVERIFY(f.windows.messages[0].text.contains(QStringLiteral("lex.ini")));
        QVERIFY(f.windows.messages[0].text.contains(
            QDir::toNativeSeparators(QDir(dir).canonicalPath())));
        QVERIFY(f.state.InstallPath.isEmpty());
        QVERIFY(f.state.CdRomPath.isEmpty());
        // Without a CD drive the home address has none either.
        QCOMPARE(f.browser.calls, QStringList{"Navigate \\lex2000\\joia.htm"});
    });
}

void Form1Test::activationMakesANewEngine() {
    Fixture f;
    f.controller.Form_Activate();
    QCOMPARE(f.engines.log, (QStringList{"create", "Initialize"}));
    std::weak_ptr<SearchEngine> first = f.state.engine;
    f.controller.Form_Activate();
    QVERIFY(first.expired());  // the first engine was released
    QCOMPARE(f.engines.log.count(QStringLiteral("create")), 2);
    QVERIFY(f.state.engine);

    f.engines.fail = true;
    f.controller.Form_Activate();
    QVERIFY(!f.state.engine);  // a failed creation leaves no engine, no crash
}

// The menu's commands and the frame reach the controller; the browser
// follows the window's size.
void Form1Test::windowMenuAndBrowser() {
    Fixture f;
    auto* browserWidget = new QWidget;
    Form1 window(f.controller, browserWidget);
    QStringList names;
    for (QAction* action : window.menuBar()->actions()) names << action->objectName();
    QCOMPARE(names, (QStringList{"hom", "cp", "prn", "pta", "gp", "sb", "Sa"}));
    f.state.CdRomPath = QStringLiteral("D:");
    // Home twice: on the home page it navigates again.
    for (int i : {0, 0, 1, 2, 3, 4, 5, 6}) window.menuBar()->actions()[i]->trigger();
    QCOMPARE(f.browser.calls,
             (QStringList{"Navigate D:\\lex2000\\joia.htm", "Navigate D:\\lex2000\\joia.htm",
                          "Copy", "Print", "Find", "SaveAs"}));
    QCOMPARE(f.windows.messages.size(), 1);
    QCOMPARE(f.windows.messages[0].title + QString::number(f.windows.messages[0].style),
             QStringLiteral("Lumera64"));
    QCOMPARE(f.ended, 1);

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect before = browserWidget->geometry();
    QCOMPARE(before, QRect(QPoint(0, 0), window.centralWidget()->size()));
    window.resize(window.size() + QSize(20, 20));
    QTRY_COMPARE(browserWidget->geometry(), QRect(0, 0, before.width() + 20, before.height() + 20));
    QCOMPARE(BrowserGeometry(QSize(-5, 10)), QRect(0, 0, 0, 10));  // never negative
    window.close();  // closing by the frame ends the program
    QCOMPARE(f.ended, 2);
}

QTEST_MAIN(Form1Test)
#include "test_form1.moc"
