// The title lookup and the search window's handlers, headless, on a scripted
// engine: what the window shows after each step the user takes.
#include <QTest>

#include "ScriptedSearchEngine.h"
#include "headless/HeadlessWindowSystem.h"
#include "host/ReaderState.h"
#include "search/SearchController.h"

using namespace lumera;
using namespace lumera::testing;

namespace {

QStringList textsOf(const ListControl& list) {
    QStringList texts;
    for (int row = 0; row < list.ListCount(); ++row) texts << list.entry(row).text;
    return texts;
}

// What the window shows: FoundList, List1, Combo1 (each joined by ","), Label2, Text1,
// and the other spellings searched, if any.
QString shown(const SearchWindowModel& w) {
    QStringList parts{textsOf(w.FoundList()).join(u','), textsOf(w.List1()).join(u','),
                      textsOf(w.Combo1()).join(u','), w.Label2(), w.Text1()};
    if (!w.otherSpellingsNote().isEmpty()) parts << w.otherSpellingsNote();
    return parts.join(u" | ");
}

const std::vector<ScriptedDocument> kThreeFolders{
    {u"Portugal"_qs, u"C:\\lex\\tomo98b\\portugal.htm"_qs},
    {u"Água"_qs, u"C:\\lex\\tomo98a\\agua.htm"_qs},
    {u"Lisboa"_qs, u"C:\\lex\\tomo98b\\lisboa.htm"_qs},
};

// The reader's pieces around the search, recording what the search asks.
struct Reader {
    explicit Reader(std::shared_ptr<RunScript> runScript = std::make_shared<RunScript>())
        : script(std::move(runScript)) {
        activate();
    }
    // The main window's activation: a new engine object every time.
    void activate() {
        engine = std::make_shared<ScriptedSearchEngine>(script);
        state.engine = engine;
    }
    SearchWindowModel& window() {
        SearchWindowModel* loaded = search.window();
        if (!loaded) qFatal("the search window is not loaded");
        return *loaded;
    }

    std::shared_ptr<RunScript> script;
    std::shared_ptr<ScriptedSearchEngine> engine;
    ReaderState state{{u"C:\\lex\\"_qs, u"D:"_qs}, nullptr};
    HeadlessWindowSystem windows;
    HeadlessSearchWindowFactory views;
    QStringList opened;
    int wentHome = 0;
    SearchController search{
        state, {windows, views, [this](QString& key) { opened << key; }, [this] { ++wentHome; }}};
};

}  // namespace

class TitleLookupTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void lookupFillsTheWindow();
    void folderFilter();
    void openArticle();
    void closeAndReopen();
    void lookupInsideRunningLookup();
    void filterAndCloseInsideRunningLookup();
    void engineReplacedOnActivation();
    void lookupThatCannotList();
};

void TitleLookupTest::lookupFillsTheWindow() {
    auto script = FindAlways(kThreeFolders);
    Reader reader(script);
    bool foundListHiddenDuringRun = false;
    QList<bool> busyDuringRun;
    script->duringRun = [&](SearchCallbacks&) {
        foundListHiddenDuringRun = !reader.window().FoundListVisible();
        busyDuringRun = reader.windows.busy;
    };
    script->otherSpellings = {u"lixboa"_qs, u"lix-boa"_qs};
    reader.search.LookUpArticleTitle(u"lisboa"_qs);

    QVERIFY(foundListHiddenDuringRun);
    QCOMPARE(busyDuringRun, QList<bool>{true});
    script->duringRun = nullptr;
    SearchWindowModel& window = reader.window();
    QCOMPARE(reader.views.timesShown(), 1);
    QCOMPARE(reader.script->requests, QStringList{u"lisboa"_qs});
    QCOMPARE(
        shown(window),
        u"Água,Lisboa,Portugal | portugal.htm,agua.htm,lisboa.htm | *.*,tomo98a,tomo98b |  3 verbetes encontrados | lisboa | também procurado: lixboa, lix-boa"_qs);
    QCOMPARE(RequestWithSpellings(window.Text1(), script->otherSpellings),
             u"lisboa lixboa \"lix-boa\""_qs);
    script->otherSpellings.clear();
    QCOMPARE(window.Combo1Index(), -1);
    QVERIFY(window.FoundListVisible());
    QCOMPARE(reader.windows.busy, (QList<bool>{true, false}));
    QCOMPARE(reader.windows.pendingEventRounds, 1);
    QVERIFY(reader.windows.messages.isEmpty());

    // The same window is cleared and refilled by the next lookup, from the text typed.
    window.setText1(u"agua"_qs);
    reader.script->find = [](const QString&) {
        return std::vector<ScriptedDocument>{{u"Copo d'água"_qs, u"C:\\lex\\tomo98a\\copo.htm"_qs}};
    };
    reader.search.Text1_KeyDown(65);
    QCOMPARE(reader.script->requests.size(), 1);
    reader.search.Text1_KeyDown(SearchWindowEvents::kEnterKeyCode);
    QCOMPARE(&reader.window(), &window);
    QCOMPARE(reader.views.timesShown(), 2);
    QCOMPARE(shown(window),
             u"Copo d'água | copo.htm | *.*,tomo98a |  1 verbetes encontrados | agua"_qs);

    // The OK picture and its hot spot look up the text as it stands, even empty.
    window.setText1(QString());
    reader.search.Image1_Click();
    reader.search.Label4_Click();
    QCOMPARE(reader.script->requests.mid(2), (QStringList{QString(), QString()}));
}

void TitleLookupTest::folderFilter() {
    Reader reader(FindAlways(kThreeFolders));
    reader.search.LookUpArticleTitle(u"p"_qs);
    SearchWindowModel& window = reader.window();

    // Filtering works on the last lookup's results, whatever Text1 says now.
    window.setText1(u"outra coisa"_qs);
    reader.search.Combo1_Click(window.Combo1().findText(u"tomo98b"_qs));
    QCOMPARE(window.Combo1Index(), 2);
    QCOMPARE(
        shown(window),
        u"Lisboa,Portugal | portugal.htm,lisboa.htm | *.*,tomo98a,tomo98b |  3 verbetes encontrados | outra coisa"_qs);
    QCOMPARE(window.FoundList().entry(0).ItemData, 1);
    QCOMPARE(reader.script->requests, QStringList{u"p"_qs});

    // "*.*" searches again, with the text Text1 holds now.
    reader.search.Combo1_Click(0);
    QCOMPARE(reader.script->requests, (QStringList{u"p"_qs, u"outra coisa"_qs}));
    QCOMPARE(window.FoundList().ListCount(), 3);
    QCOMPARE(window.Combo1Index(), -1);
}

void TitleLookupTest::openArticle() {
    Reader reader(FindAlways(kThreeFolders));
    reader.search.LookUpArticleTitle(u"p"_qs);
    SearchWindowModel& window = reader.window();
    reader.search.FoundList_Click(1);  // Lisboa: the tag leads past the sorted order
    QCOMPARE(reader.opened, QStringList{u"lisboa.htm"_qs});

    // In a filtered list the tag points into the filtered List1.
    reader.search.Combo1_Click(window.Combo1().findText(u"tomo98a"_qs));
    QCOMPARE(window.FoundListIndex(), -1);
    reader.search.FoundList_Click(0);
    QCOMPARE(reader.opened.last(), u"agua.htm"_qs);
}

void TitleLookupTest::closeAndReopen() {
    Reader reader(FindAlways(kThreeFolders));
    reader.search.LookUpArticleTitle(u"p"_qs);
    reader.search.fec_Click();
    QVERIFY(!reader.search.window());

    // Loaded again by the next lookup, empty until that lookup fills it.
    bool emptyWhenRun = false;
    reader.script->duringRun = [&](SearchCallbacks&) {
        emptyWhenRun = reader.window().Combo1().ListCount() == 0 &&
                       reader.window().FoundList().ListCount() == 0 &&
                       reader.window().Label2().isEmpty();
    };
    reader.search.LookUpArticleTitle(u"q"_qs);
    QVERIFY(emptyWhenRun);
    QCOMPARE(reader.views.timesShown(), 2);
    QCOMPARE(reader.window().FoundList().ListCount(), 3);

    // Going home: the main window's home command, then the window closes.
    reader.search.Label2_Click();
    QCOMPARE(reader.wentHome, 1);
    QVERIFY(!reader.search.window());
    reader.search.LookUpArticleTitle(u"r"_qs);
    reader.search.Label3_Click();
    QCOMPARE(reader.wentHome, 2);
    QVERIFY(!reader.search.window());
}

// Lookups asked for while one runs wait for it; only the newest of them runs.
void TitleLookupTest::lookupInsideRunningLookup() {
    auto script = FindAlways(kThreeFolders);
    Reader reader(script);
    int runs = 0;
    script->duringRun = [&](SearchCallbacks& callbacks) {
        if (++runs > 1) return;
        callbacks.CheckForAbort();
    };
    reader.windows.onProcessEvents = [&] {
        if (runs != 1 || reader.script->requests.size() != 1) return;
        // Events handled inside the first run: the router, then Enter in Text1.
        reader.search.LookUpArticleTitle(u"segunda"_qs);
        reader.window().setText1(u"terceira"_qs);
        reader.search.Text1_KeyDown(SearchWindowEvents::kEnterKeyCode);
        QCOMPARE(reader.script->requests.size(), 1);
    };
    reader.search.LookUpArticleTitle(u"primeira"_qs);
    QCOMPARE(reader.script->requests, (QStringList{u"primeira"_qs, u"terceira"_qs}));
    QCOMPARE(reader.window().Text1(), u"terceira"_qs);
    QCOMPARE(reader.window().FoundList().ListCount(), 3);
    QCOMPARE(reader.windows.busy, (QList<bool>{true, false, true, false}));
}

void TitleLookupTest::filterAndCloseInsideRunningLookup() {
    auto script = FindAlways(kThreeFolders);
    Reader reader(script);
    reader.search.LookUpArticleTitle(u"p"_qs);

    // A folder filter asked for during a run filters that run's results after it.
    int filterAskedInRun = 0;
    script->duringRun = [&](SearchCallbacks& callbacks) {
        if (reader.script->requests.size() != 2) return;
        reader.search.FilterByFolder(u"tomo98b"_qs);
        filterAskedInRun = reader.window().FoundList().ListCount() + 1;
        callbacks.CheckForAbort();
    };
    reader.search.LookUpArticleTitle(u"q"_qs);
    QCOMPARE(filterAskedInRun, 1);  // nothing listed yet when it was asked
    QCOMPARE(textsOf(reader.window().FoundList()), (QStringList{u"Lisboa"_qs, u"Portugal"_qs}));
    QCOMPARE(reader.window().Label2(), u" 3 verbetes encontrados"_qs);

    // Closing during a run waits for the run; the window is there until then.
    bool loadedAfterClose = false;
    script->duringRun = [&](SearchCallbacks& callbacks) {
        if (reader.script->requests.size() != 3) return;
        reader.search.fec_Click();
        callbacks.CheckForAbort();
        loadedAfterClose = reader.search.window() != nullptr;
    };
    reader.search.LookUpArticleTitle(u"r"_qs);
    QVERIFY(loadedAfterClose);
    QVERIFY(!reader.search.window());

    // A lookup asked for after the close wins over it: the window stays.
    script->duringRun = [&](SearchCallbacks&) {
        if (reader.script->requests.size() != 4) return;
        reader.search.Label2_Click();
        reader.search.LookUpArticleTitle(u"t"_qs);
    };
    reader.search.LookUpArticleTitle(u"s"_qs);
    QCOMPARE(reader.wentHome, 1);
    QVERIFY(reader.search.window());
    QCOMPARE(reader.script->requests, (QStringList{u"p"_qs, u"q"_qs, u"r"_qs, u"s"_qs, u"t"_qs}));
    QCOMPARE(reader.window().Text1(), u"t"_qs);
}

void TitleLookupTest::engineReplacedOnActivation() {
    auto script = FindAlways(kThreeFolders);
    Reader reader(script);
    std::weak_ptr<ScriptedSearchEngine> first = reader.engine;
    // The user comes back to the main window during the run.
    script->duringRun = [&](SearchCallbacks&) {
        reader.engine.reset();
        reader.activate();
    };
    reader.search.LookUpArticleTitle(u"p"_qs);
    QCOMPARE(reader.window().FoundList().ListCount(), 3);
    QVERIFY(first.expired());

    // Again afterwards: the job of the gone engine still serves the folder filter.
    script->duringRun = nullptr;
    reader.engine.reset();
    reader.activate();
    reader.search.Combo1_Click(reader.window().Combo1().findText(u"tomo98b"_qs));
    QCOMPARE(textsOf(reader.window().FoundList()), (QStringList{u"Lisboa"_qs, u"Portugal"_qs}));

    // The next lookup runs on the new engine.
    reader.search.LookUpArticleTitle(u"q"_qs);
    QCOMPARE(reader.engine->jobs.size(), std::size_t{1});
}

// A lookup that cannot list says why: no engine, an engine that fails (its
// step skipped, the lookup going on to its end), or an index that cannot be
// searched, which is not an article that does not exist. The window is left
// empty with the text typed, and once mended the same window lists again.
void TitleLookupTest::lookupThatCannotList() {
    enum Fault { NoEngine, EngineFails, IndexUnusable };
    const struct {
        Fault fault;
        const char16_t* said;  // the message's start, title and style
    } rows[] = {
        {NoEngine, u"A pesquisa não está disponível: |Lumera Edição 2002|48"},
        {EngineFails, u"Verbete não encontrado!|Lumera Edição 2002|64"},
        {IndexUnusable, u"Não foi possível pesquisar: o índice|Lumera Edição 2002|48"},
    };
    for (const auto& row : rows) {
        auto script = FindAlways(kThreeFolders);
        script->otherSpellings = {u"pê"_qs};  // a note that the failed lookup must not keep
        Reader reader(script);
        reader.search.LookUpArticleTitle(u"p"_qs);
        if (row.fault == NoEngine) reader.state.engine.reset();
        script->failRun = row.fault == EngineFails;
        if (row.fault == IndexUnusable)
            script->failure =
                u"Não foi possível pesquisar: o índice de pesquisa está danificado."_qs;
        reader.search.LookUpArticleTitle(u"q"_qs);
        QCOMPARE(reader.windows.messages.size(), 1);
        const ShownMessage& message = reader.windows.messages.first();
        const QStringList said = QString::fromUtf16(row.said).split(u'|');
        QVERIFY2(message.text.startsWith(said[0]), qPrintable(message.text));
        QCOMPARE(message.title + u'|' + QString::number(message.style), said[1] + u'|' + said[2]);
        QCOMPARE(shown(reader.window()), u" |  | *.* |  | q"_qs);
        QVERIFY(reader.window().FoundListVisible());
        QCOMPARE(reader.windows.busy, (QList<bool>{true, false, true, false}));
        QCOMPARE(reader.search.driver().HasJob(), row.fault != NoEngine);

        reader.activate();
        if (row.fault == IndexUnusable) {
            // The reader's window offers to build the index in place of the message.
            QStringList offered;
            SearchController offering{reader.state,
                                      {reader.windows, reader.views, [](QString&) {}, [] {},
                                       [&offered](const QString& reason) { offered << reason; }}};
            offering.LookUpArticleTitle(u"q"_qs);
            QCOMPARE(offered, QStringList{script->failure});
            QCOMPARE(reader.windows.messages.size(), 1);
        }
        script->failRun = false;
        script->failure.clear();
        reader.search.LookUpArticleTitle(u"r"_qs);
        QCOMPARE(reader.windows.messages.size(), 1);
        QCOMPARE(reader.window().Label2(), u" 3 verbetes encontrados"_qs);
    }
}

QTEST_GUILESS_MAIN(TitleLookupTest)
#include "test_title_lookup.moc"
