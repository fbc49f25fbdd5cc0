// The search window on a (offscreen) screen: its controls, and a lookup run
// the way a user runs it, on a real full-text index.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include "ScriptedSearchEngine.h"
#include "app/ActivationTracker.h"
#include "app/ReaderState.h"
#include "platform/IndexBuilder.h"
#include "platform/XapianIndexList.h"
#include "platform/XapianSearchEngine.h"
#include "search/SearchController.h"
#include "search/SearchWindow.h"
#include "support/Recorders.h"

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

QStringList shownTitles(const QListView* list) {
    QStringList titles;
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        titles << list->model()->index(row, 0).data().toString();
    }
    return titles;
}

// The reader's search on widgets; events are processed where the engine asks.
struct WindowedReader {
    explicit WindowedReader(std::shared_ptr<SearchEngine> engine) {
        state.engine = std::move(engine);
        windows.onProcessEvents = [] { QCoreApplication::processEvents(); };
    }
    ReaderState state{u"C:\\lex\\"_qs, u"D:"_qs, nullptr};
    RecordingWindowSystem windows;
    WidgetSearchWindowFactory views;
    QStringList opened;
    SearchController search{state,
                            {windows, views, [this](QString& key) { opened << key; }, [] {}}};
};

}  // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void focusAndClose();
    void lookupOnRealIndex();
    void comingBackActivatesTheMainWindow();
};

// The window as the user meets it: the titles in FoundList, the focus there,
// Tab going FoundList, Text1, Combo1, and its own close button going through
// the close handler.
void SearchWindowTest::focusAndClose() {
    WindowedReader reader(std::make_shared<ScriptedSearchEngine>(
        FindAlways({{u"Brasil"_qs, u"C:\\lex\\tomo98a\\brasil.htm"_qs}})));
    reader.search.LookUpArticleTitle(u"brasil"_qs);
    QWidget* window = searchWindow();
    QVERIFY(window);
    auto* found = control<QListView>("FoundList");
    QCOMPARE(shownTitles(found), QStringList{u"Brasil"_qs});
    QCOMPARE(control<QLabel>("Label2")->text(), u" 1 verbetes encontrados"_qs);
    QVERIFY(control<QListView>("List1")->isHidden());
    QVERIFY(control<QListView>("List2")->isHidden());
    QCOMPARE(control<QComboBox>("Combo1")->currentIndex(), -1);

    QVERIFY(QTest::qWaitForWindowActive(window));
    QCOMPARE(QApplication::focusWidget(), found);
    for (QWidget* next :
         {static_cast<QWidget*>(control<QLineEdit>("Text1")),
          static_cast<QWidget*>(control<QComboBox>("Combo1")), static_cast<QWidget*>(found)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QPointer<QWidget> closing = window;
    window->close();
    QTRY_VERIFY(!reader.search.window());
    QVERIFY(!closing || closing->isHidden());
    QVERIFY(!searchWindow());
}

// Type a word, press Enter, see the titles, choose one, pick a folder, close.
void SearchWindowTest::lookupOnRealIndex() {
    QTemporaryDir install;
    QVERIFY(install.isValid());
    {
        StagedIndex staged(install.path());
        QVERIFY2(!staged.buildPath().isEmpty(), qPrintable(staged.error()));
        IndexBuilder builder(staged.buildPath());
        builder.add({u"brasil.htm"_qs, u"Brasil"_qs,
                     u"<p>O <b>Brasil</b> é o maior país da América do Sul.</p>"_qs,
                     u"tomo98a"_qs});
        builder.add({u"pau-brasil.htm"_qs, u"Pau-brasil"_qs,
                     u"<p>Árvore que deu nome ao Brasil.</p>"_qs, u"tomo98c"_qs});
        builder.add({u"historia-do-brasil.htm"_qs, u"História do Brasil"_qs,
                     u"<p>A história do Brasil começa em 1500.</p>"_qs, u"tomo98c"_qs});
        builder.add(
            {u"lisboa.htm"_qs, u"Lisboa"_qs, u"<p>Capital de Portugal.</p>"_qs, u"tomo98b"_qs});
        builder.finish();
        QVERIFY2(staged.install(), qPrintable(staged.error()));
    }
    XapianSearchEngineFactory engines;
    WindowedReader reader(engines.create());
    reader.state.InstallPath = install.path() + u'/';

    // The first lookup comes from elsewhere (a page's search field); then the
    // user types in the window.
    reader.search.LookUpArticleTitle(u"lisboa"_qs);
    QWidget* window = searchWindow();
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto* text1 = control<QLineEdit>("Text1");
    auto* found = control<QListView>("FoundList");
    QCOMPARE(text1->text(), u"lisboa"_qs);
    QCOMPARE(shownTitles(found), QStringList{u"Lisboa"_qs});

    text1->clear();
    QTest::keyClicks(text1, u"brasil"_qs);
    QTest::keyClick(text1, Qt::Key_Return);
    QTRY_COMPARE(shownTitles(found),
                 (QStringList{u"Brasil"_qs, u"História do Brasil"_qs, u"Pau-brasil"_qs}));
    QCOMPARE(control<QLabel>("Label2")->text(), u" 3 verbetes encontrados"_qs);
    auto* combo = control<QComboBox>("Combo1");
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(1), u"tomo98a"_qs);
    QCOMPARE(combo->itemText(2), u"tomo98c"_qs);

    // A click on a title opens its article; the arrow key opens the next one.
    const QRect second = found->visualRect(found->model()->index(1, 0));
    QTest::mouseClick(found->viewport(), Qt::LeftButton, {}, second.center());
    QTRY_COMPARE(reader.opened, QStringList{u"historia-do-brasil.htm"_qs});
    QTest::keyClick(found, Qt::Key_Down);
    QTRY_COMPARE(reader.opened, (QStringList{u"historia-do-brasil.htm"_qs, u"pau-brasil.htm"_qs}));
    QVERIFY(searchWindow());

    // Choosing a folder with the keyboard lists that folder's titles only.
    combo->setFocus();
    QTest::keyClicks(combo, u"t"_qs);
    QTRY_COMPARE(shownTitles(found), (QStringList{u"Brasil"_qs}));
    QCOMPARE(combo->currentText(), u"tomo98a"_qs);
    QTest::keyClick(combo, Qt::Key_Down);
    QTRY_COMPARE(shownTitles(found), (QStringList{u"História do Brasil"_qs, u"Pau-brasil"_qs}));
    QCOMPARE(control<QLabel>("Label2")->text(), u" 3 verbetes encontrados"_qs);
    QTest::mouseClick(found->viewport(), Qt::LeftButton, {},
                      found->visualRect(found->model()->index(0, 0)).center());
    QTRY_COMPARE(reader.opened.last(), u"historia-do-brasil.htm"_qs);

    // The menu closes the window; the next lookup opens a new one.
    QPointer<QWidget> closing = window;
    window->findChild<QMenuBar*>()->actions().first()->trigger();
    QTRY_VERIFY(!reader.search.window());
    QVERIFY(!closing || closing->isHidden());
    reader.search.LookUpArticleTitle(u"brasil"_qs);
    QVERIFY(searchWindow());
    QCOMPARE(shownTitles(control<QListView>("FoundList")).size(), 3);
    QVERIFY(reader.windows.messages.isEmpty());
}

// Closing the search window, or clicking into the main window from it, hands
// activation back to the main window, which then makes a new engine.
void SearchWindowTest::comingBackActivatesTheMainWindow() {
    QWidget main;
    main.setWindowTitle(u"Form1"_qs);
    WindowedReader reader(std::make_shared<ScriptedSearchEngine>(
        FindAlways({{u"Brasil"_qs, u"C:\\lex\\tomo98a\\brasil.htm"_qs}})));
    int activations = 0;
    ActivationTracker tracker(&main, [&] { ++activations; });
    main.show();
    main.activateWindow();
    QTRY_COMPARE(activations, 1);

    reader.search.LookUpArticleTitle(u"brasil"_qs);
    QPointer<QWidget> window = searchWindow();
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    main.activateWindow();
    QTRY_COMPARE(activations, 2);

    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->findChild<QMenuBar*>()->actions().first()->trigger();
    QTRY_VERIFY(!reader.search.window());
    main.activateWindow();
    QTRY_COMPARE(activations, 3);
    QTRY_VERIFY(!window);
}

QTEST_MAIN(SearchWindowTest)
#include "test_search_window.moc"
