// The search window on a (offscreen) screen: its look, its controls, and a
// lookup run the way a user runs it, on a real full-text index.
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
#include "host/ReaderState.h"
#include "platform/IndexBuilder.h"
#include "platform/XapianIndexList.h"
#include "platform/XapianSearchEngine.h"
#include "search/SearchController.h"
#include "support/Recorders.h"
#include "ui/ActivationTracker.h"
#include "ui/SearchWindow.h"
#include "ui/SearchWindowArt.h"

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

bool isAmber(const QWidget* widget) {
    return widget->palette().color(QPalette::WindowText) == QColor(searchart::kAmber);
}

}  // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void background_data();
    void background();
    void okButton();
    void windowAndControls();
    void lookupOnRealIndex();
    void comingBackActivatesTheMainWindow();
};

void SearchWindowTest::background_data() {
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QRgb>("colour");
    const QRgb dark = searchart::kDarkBlue;
    const QRgb light = searchart::kLightBlue;
    const QRgb black = searchart::kBlack;
    QTest::newRow("top band") << QPoint(492, 9) << dark;
    QTest::newRow("top band, left part") << QPoint(0, 39) << dark;
    QTest::newRow("left of the top edge") << QPoint(308, 10) << dark;
    QTest::newRow("top edge starts") << QPoint(309, 10) << light;
    QTest::newRow("line along row 10") << QPoint(492, 10) << light;
    QTest::newRow("top edge ends") << QPoint(280, 39) << light;
    QTest::newRow("right of the top edge") << QPoint(281, 39) << black;
    QTest::newRow("line along row 40") << QPoint(0, 40) << light;
    QTest::newRow("row 40 right of the edge") << QPoint(280, 40) << black;
    QTest::newRow("middle") << QPoint(246, 144) << black;
    QTest::newRow("line along row 248") << QPoint(492, 248) << light;
    QTest::newRow("row 248 left of the edge") << QPoint(212, 248) << black;
    QTest::newRow("bottom edge starts") << QPoint(212, 249) << light;
    QTest::newRow("right of the bottom edge") << QPoint(213, 249) << dark;
    QTest::newRow("left of the bottom edge") << QPoint(211, 249) << black;
    QTest::newRow("bottom edge ends") << QPoint(184, 277) << light;
    QTest::newRow("line along row 278") << QPoint(0, 278) << light;
    QTest::newRow("row 278 right of the edge") << QPoint(184, 278) << dark;
    QTest::newRow("bottom band") << QPoint(0, 279) << dark;
    QTest::newRow("last pixel") << QPoint(492, 287) << dark;
}

void SearchWindowTest::background() {
    QFETCH(QPoint, pixel);
    QFETCH(QRgb, colour);
    const QImage picture = searchart::DrawBackground();
    QCOMPARE(picture.size(), QSize(493, 288));
    QCOMPARE(picture.pixel(pixel), colour);
}

void SearchWindowTest::okButton() {
    const QImage button = searchart::DrawOkButton();
    QCOMPARE(button.size(), QSize(24, 18));
    for (const QPoint corner : {QPoint(0, 0), QPoint(23, 0), QPoint(0, 17), QPoint(23, 17)}) {
        QCOMPARE(qAlpha(button.pixel(corner)), 0);
    }
    // Orange around the letters, dark letters in the middle.
    const QColor fill = button.pixelColor(2, 9);
    QCOMPARE(fill.alpha(), 255);
    QVERIFY(fill.red() > 200 && fill.green() > 80 && fill.green() < 200 && fill.blue() < 80);
    int darkPixels = 0;
    for (int x = 7; x < 17; ++x) {
        for (int y = 5; y < 13; ++y) darkPixels += button.pixelColor(x, y).lightness() < 80;
    }
    QVERIFY(darkPixels > 5);
}

void SearchWindowTest::windowAndControls() {
    WindowedReader reader(std::make_shared<ScriptedSearchEngine>(
        FindAlways({{u"Brasil"_qs, u"C:\\lex\\tomo98a\\brasil.htm"_qs}})));
    reader.search.LookUpArticleTitle(u"brasil"_qs);
    QWidget* window = searchWindow();
    QVERIFY(window);
    QVERIFY(window->isWindow());
    QCOMPARE(window->windowTitle(), u"Lumera - Edição 2002 - Resultado da Procura"_qs);
    QCOMPARE(window->property("lumeraReturnsActivation"), QVariant(true));
    QCOMPARE(window->pos(), QPoint(253, 207));
    QWidget* picture = window->findChild<QWidget*>(u"Picture"_qs);
    QVERIFY(picture);
    QCOMPARE(picture->size(), QSize(493, 288));
    QCOMPARE(window->size().width(), 493);

    const QMenuBar* menu = window->findChild<QMenuBar*>();
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().first()->objectName(), u"fec"_qs);
    QCOMPARE(menu->actions().first()->text(), u"&Fechar"_qs);

    const QList<std::pair<const char*, QRect>> places{
        {"Label1", {16, 12, 105, 21}},   {"Text1", {126, 8, 109, 25}},
        {"Image1", {246, 12, 24, 18}},   {"Label4", {196, 40, 25, 29}},
        {"Shape1", {4, 48, 485, 191}},   {"FoundList", {10, 58, 473, 167}},
        {"Combo1", {280, 268, 201, 21}}, {"Label3", {664, 92, 61, 21}},
    };
    for (const auto& [name, place] : places) {
        QWidget* widget = control<QWidget>(name);
        QVERIFY2(widget, name);
        QCOMPARE(widget->parentWidget(), picture);
        QCOMPARE(widget->geometry(), place);
    }

    // Nothing in front of the count caption covers its text (it once sat
    // half behind Combo1).
    auto* label2 = control<QLabel>("Label2");
    QCOMPARE(label2->pos(), QPoint(230, 258));
    const QRect caption =
        label2->fontMetrics()
            .boundingRect(label2->contentsRect(), label2->alignment(), label2->text())
            .translated(label2->pos());
    QVERIFY(!label2->text().isEmpty());
    const QObjectList& stack = picture->children();
    for (qsizetype i = stack.indexOf(label2) + 1; i < stack.size(); ++i) {
        auto* above = qobject_cast<QWidget*>(stack[i]);
        if (above && above->isVisible())
            QVERIFY2(!above->geometry().intersects(caption), qPrintable(above->objectName()));
    }

    auto* label1 = control<QLabel>("Label1");
    QCOMPARE(label1->text(), u"\u00A0Procurar verbete:"_qs);
    QCOMPARE(label2->text(), u" 1 verbetes encontrados"_qs);
    for (const QLabel* label : {label1, label2}) {
        QVERIFY(isAmber(label));
        QVERIFY(label->font().bold());
        QCOMPARE(label->font().pointSizeF(), 8.25);
        QVERIFY(!label->autoFillBackground());
    }
    QVERIFY(control<QLabel>("Label4")->text().isEmpty());
    QVERIFY(control<QLabel>("Label3")->text().isEmpty());
    QVERIFY(!control<QLabel>("Image1")->pixmap().isNull());

    auto* found = control<QListView>("FoundList");
    QCOMPARE(found->palette().color(QPalette::Base), QColor(Qt::black));
    QCOMPARE(found->palette().color(QPalette::Text), QColor(Qt::white));
    QVERIFY(found->isVisible());
    QCOMPARE(shownTitles(found), QStringList{u"Brasil"_qs});
    QVERIFY(control<QListView>("List1")->isHidden());
    QVERIFY(control<QListView>("List2")->isHidden());
    auto* combo = control<QComboBox>("Combo1");
    QVERIFY(combo->isVisible());
    QVERIFY(!combo->isEditable());
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->currentIndex(), -1);

    // Tab order FoundList, Text1, Combo1; the focus starts in FoundList.
    QVERIFY(QTest::qWaitForWindowActive(window));
    QCOMPARE(QApplication::focusWidget(), found);
    QTest::keyClick(found, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>("Text1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), combo);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), found);

    // The window's own close button goes through the close handler.
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
