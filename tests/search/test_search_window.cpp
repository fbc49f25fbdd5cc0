// The search window's widgets on an (offscreen) screen: what they show, the
// focus, closing, and handing activation back to the main window. The lookup
// behind them is test_title_lookup's; on a real index, lumera-cli's.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPointer>
#include <QTest>

#include "ScriptedSearchEngine.h"
#include "headless/HeadlessWindowSystem.h"
#include "host/ReaderState.h"
#include "search/SearchController.h"
#include "ui/ActivationTracker.h"
#include "ui/SearchWindow.h"

using namespace lumera;
using namespace lumera::testing;

namespace {

QWidget* searchWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == u"dtsearch" && widget->isVisible()) return widget;
    }
    return nullptr;
}

template <typename T>
T* control(const char* name) {
    QWidget* window = searchWindow();
    return window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

// The reader's search on widgets; events are processed where the engine asks.
struct WindowedReader {
    explicit WindowedReader(std::shared_ptr<SearchEngine> engine) {
        state.engine = std::move(engine);
        windows.onProcessEvents = [] { QCoreApplication::processEvents(); };
    }
    ReaderState state{{u"C:\\lex\\"_qs, u"D:"_qs}, nullptr};
    HeadlessWindowSystem windows;
    WidgetSearchWindowFactory views;
    QStringList opened;
    std::function<void(QString&)> open = [this](QString& key) { opened << key; };
    SearchController search{state, {windows, views, [this](QString& key) { open(key); }, [] {}}};
};

}  // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void focusActivationAndClose();
    void rapidInputSettlesOnTheLastChoice();
};

// The window as the user meets it: the titles in FoundList, nothing covering
// the count caption, the focus there, Tab going FoundList, Text1, Image1,
// Combo1, Label2; clicking into the main window and closing the window by its
// menu, Escape or its close button each hand activation back to the main
// window, which then makes a new engine.
void SearchWindowTest::focusActivationAndClose() {
    QWidget main;
    main.setWindowTitle(u"Form1"_qs);
    int activations = 0;
    ActivationTracker tracker(&main, [&] { ++activations; });
    main.show();
    main.activateWindow();
    QTRY_COMPARE(activations, 1);
    WindowedReader reader(std::make_shared<ScriptedSearchEngine>(
        FindAlways({{u"Brasil"_qs, u"C:\\lex\\tomo98a\\brasil.htm"_qs}})));
    reader.search.LookUpArticleTitle(u"brasil"_qs);
    QPointer<QWidget> window = searchWindow();
    QVERIFY(window);
    auto* found = control<QListView>("FoundList");
    QCOMPARE(found->model()->rowCount(), 1);
    QCOMPARE(found->model()->index(0, 0).data().toString(), u"Brasil"_qs);
    // It once sat half behind Combo1.
    auto* label2 = control<QLabel>("Label2");
    QCOMPARE(label2->text(), u" 1 verbetes encontrados"_qs);
    const QRect caption =
        label2->fontMetrics()
            .boundingRect(label2->contentsRect(), int(label2->alignment()), label2->text())
            .translated(label2->pos());
    const QObjectList& stack = label2->parentWidget()->children();
    for (qsizetype i = stack.indexOf(label2) + 1; i < stack.size(); ++i) {
        auto* above = qobject_cast<QWidget*>(stack[i]);
        if (above && above->isVisible())
            QVERIFY2(!above->geometry().intersects(caption), qPrintable(above->objectName()));
    }
    QVERIFY(control<QListView>("List1")->isHidden());
    QVERIFY(control<QListView>("List2")->isHidden());
    QCOMPARE(control<QComboBox>("Combo1")->currentIndex(), -1);

    QVERIFY(QTest::qWaitForWindowActive(window));
    QCOMPARE(QApplication::focusWidget(), found);
    for (QWidget* next :
         {static_cast<QWidget*>(control<QLineEdit>("Text1")), control<QWidget>("Image1"),
          static_cast<QWidget*>(control<QComboBox>("Combo1")), static_cast<QWidget*>(label2),
          static_cast<QWidget*>(found)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    main.activateWindow();
    QTRY_COMPARE(activations, 2);

    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    for (const bool byMenu : {true, false}) {
        if (byMenu) window->findChild<QMenuBar*>()->actions().first()->trigger();
        if (!byMenu) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!reader.search.window());
        main.activateWindow();
        QTRY_COMPARE(activations, byMenu ? 3 : 4);
        QTRY_VERIFY(!window);
        reader.search.LookUpArticleTitle(u"brasil"_qs);
        window = searchWindow();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    // Its own close button goes through the same close handler.
    window->close();
    QTRY_VERIFY(!reader.search.window());
    QVERIFY(!window || window->isHidden());
    QVERIFY(!searchWindow());
}

// Impatient hands. Digits click that title, v and ^ press Down and Up, e
// presses Enter and d double-clicks the chosen title; '|' hands the rest to
// the next pause of the article being opened, '.' waits until it is opened.
// However fast the input, the reader ends idle on the last choice; a choice
// back to the article being opened changes nothing.
void SearchWindowTest::rapidInputSettlesOnTheLastChoice() {
    const struct {
        const char* script;
        const char* opened;  // its last is the title chosen in the end
    } rows[] = {{"0|vvvvvvvv", "0 8"},
                {"0|36914|72580|3692", "0 2"},
                {"0|v|^", "0"},
                {"5.v^.e.d", "5 5 5"}};
    const QHash<QChar, Qt::Key> keys{{'v', Qt::Key_Down}, {'^', Qt::Key_Up}, {'e', Qt::Key_Return}};
    std::vector<ScriptedDocument> documents;
    for (int i = 0; i < 10; ++i) documents.push_back({QString::number(i), QString::number(i)});
    for (const auto& row : rows) {
        WindowedReader reader(std::make_shared<ScriptedSearchEngine>(FindAlways(documents)));
        reader.search.LookUpArticleTitle(u"t"_qs);
        auto* found = control<QListView>("FoundList");
        QString script = u'.' + QString::fromLatin1(row.script);
        // Plays up to the next pause when the script is at one of these.
        const auto play = [&](QStringView at) {
            if (script.isEmpty() || !at.contains(script[0])) return;
            for (script.remove(0, 1); !script.isEmpty() && !u"|."_qs.contains(script[0]);
                 script.remove(0, 1)) {
                const QChar c = script[0];
                const int title = c.isDigit() ? c.digitValue() : found->currentIndex().row();
                const QPoint place = found->visualRect(found->model()->index(title, 0)).center();
                if (keys.contains(c)) QTest::keyClick(found, keys[c]);
                if (c.isDigit()) QTest::mouseClick(found->viewport(), Qt::LeftButton, {}, place);
                if (c == u'd') QTest::mouseDClick(found->viewport(), Qt::LeftButton, {}, place);
            }
        };
        reader.open = [&](QString& key) {
            reader.opened << key;
            for (int pause = 0; pause < 2 && reader.opened.size() < 20; ++pause)
                play(u"|"), QCoreApplication::processEvents();
        };
        while (!script.isEmpty()) play(u"|."), QTest::qWait(20);
        QCOMPARE(reader.opened.join(u' '), QString::fromLatin1(row.opened));
        QCOMPARE(found->currentIndex().row(), QString::fromLatin1(row.opened).back().digitValue());
    }
}

QTEST_MAIN(SearchWindowTest)
#include "test_search_window.moc"
