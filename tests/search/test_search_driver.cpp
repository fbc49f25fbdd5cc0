// The search driver: lists that sort like the original's list controls, the
// job's settings, listing results and the engine's callbacks.
#include <QCollator>
#include <QTest>
#include <algorithm>
#include <random>

#include "ScriptedSearchEngine.h"
#include "search/ListControl.h"
#include "search/SearchDriver.h"
#include "search/SearchWindowModel.h"
#include "support/Recorders.h"

using namespace lumera;
using namespace lumera::testing;

Q_DECLARE_METATYPE(std::vector<lumera::ListEntry>)

namespace {

std::vector<ListEntry> entriesOf(const ListControl& list) {
    std::vector<ListEntry> entries;
    for (int row = 0; row < list.ListCount(); ++row) entries.push_back(list.entry(row));
    return entries;
}

QStringList textsOf(const ListControl& list) {
    QStringList texts;
    for (int row = 0; row < list.ListCount(); ++row) texts << list.entry(row).text;
    return texts;
}

char* toString(const std::vector<ListEntry>& entries) {
    QStringList parts;
    for (const ListEntry& e : entries) parts << QStringLiteral("%1=%2").arg(e.text).arg(e.ItemData);
    return qstrdup(parts.join(u", ").toUtf8().constData());
}

// A window model with the driver it reports to, as a lookup has them.
struct Harness {
    RecordingWindowSystem windows;
    SearchDriver driver;
    SearchWindowModel window{driver, windows};

    void run(SearchEngine& engine, const QString& request) {
        driver.RunSearchJob(engine, request, QStringLiteral("C:\\lex\\"), window);
    }
    void list(const std::optional<QString>& folder = std::nullopt) {
        window.ClearResultLists();
        driver.ListResults(window.resultLists(), folder);
    }
};

}  // namespace

namespace QTest {
template <>
char* toString(const std::vector<ListEntry>& entries) {
    return ::toString(entries);
}
}  // namespace QTest

class SearchDriverTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void sortedListOrder_data();
    void sortedListOrder();
    void addedOrderKeepsInsertion();
    void derivedTexts_data();
    void derivedTexts();
    void folderFilter_data();
    void folderFilter();
    void sortedTitlesKeepTheirPosition();
    void failingDocumentKeepsWhatWasListed();
    void settingsInOrderAndKind();
    void foundAtEndLines();
    void callbacksDuringRun();
    void hundredThousandResults();
};

void SearchDriverTest::sortedListOrder_data() {
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<std::vector<ListEntry>>("expected");
    QTest::newRow("accents sort with their letter")
        << QStringList{u"Bola"_qs, u"Água"_qs, u"azul"_qs, u"Abacaxi"_qs, u"Ônibus"_qs, u"ovo"_qs}
        << std::vector<ListEntry>{{u"Abacaxi"_qs, 3}, {u"Água"_qs, 1},   {u"azul"_qs, 2},
                                  {u"Bola"_qs, 0},    {u"Ônibus"_qs, 4}, {u"ovo"_qs, 5}};
    QTest::newRow("letter case does not separate, equal keep their order")
        << QStringList{u"casa"_qs, u"Bar"_qs, u"CASA"_qs, u"Casa"_qs, u"bar"_qs}
        << std::vector<ListEntry>{
               {u"Bar"_qs, 1}, {u"bar"_qs, 4}, {u"casa"_qs, 0}, {u"CASA"_qs, 2}, {u"Casa"_qs, 3}};
    QTest::newRow("empty text first")
        << QStringList{u"b"_qs, QString(), u"a"_qs}
        << std::vector<ListEntry>{{QString(), 1}, {u"a"_qs, 2}, {u"b"_qs, 0}};
}

// One by one or all at once, a sorted list ends the same.
void SearchDriverTest::sortedListOrder() {
    QFETCH(QStringList, added);
    QFETCH(std::vector<ListEntry>, expected);

    ListControl oneByOne(ListControl::Order::Sorted);
    for (int i = 0; i < added.size(); ++i) oneByOne.AddItem(added[i], i);
    QCOMPARE(entriesOf(oneByOne), expected);

    ListControl inBulk(ListControl::Order::Sorted);
    std::vector<ListEntry> bulk;
    for (int i = 0; i < added.size(); ++i) bulk.push_back({added[i], i});
    inBulk.AddItems(bulk);
    QCOMPARE(entriesOf(inBulk), expected);

    // Half before, half in bulk after: the earlier ones stay first among equals.
    ListControl mixed(ListControl::Order::Sorted);
    const qsizetype half = added.size() / 2;
    for (int i = 0; i < half; ++i) mixed.AddItem(added[i], i);
    mixed.AddItems(std::vector<ListEntry>(bulk.begin() + half, bulk.end()));
    QCOMPARE(entriesOf(mixed), expected);
    QCOMPARE(mixed.data(mixed.index(0), ListControl::kItemDataRole).toInt(), expected[0].ItemData);
    QCOMPARE(mixed.data(mixed.index(0)).toString(), expected[0].text);

    mixed.Clear();
    QCOMPARE(mixed.ListCount(), 0);
}

void SearchDriverTest::addedOrderKeepsInsertion() {
    ListControl list(ListControl::Order::Added);
    list.AddItem(u"z.htm"_qs, 0);
    list.AddItems({{u"a.htm"_qs, 1}, {u"Z.htm"_qs, 2}});
    list.AddItem(u"m.htm"_qs, 3);
    QCOMPARE(textsOf(list), (QStringList{u"z.htm"_qs, u"a.htm"_qs, u"Z.htm"_qs, u"m.htm"_qs}));
    QCOMPARE(list.findText(u"Z.htm"_qs), 2);
    QCOMPARE(list.findText(u"nada"_qs), -1);
}

void SearchDriverTest::derivedTexts_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("folderName");
    QTest::newRow("content folder")
        << u"C:\\lex\\tomo98a\\abc.htm"_qs << u"abc.htm"_qs << u"tomo98a"_qs;
    QTest::newRow("nested folders run together")
        << u"C:\\lex\\a\\b\\x.htm"_qs << u"x.htm"_qs << u"ab"_qs;
    QTest::newRow("outside the root") << u"D:\\x\\y.htm"_qs << u"y.htm"_qs << u"D:x"_qs;
    QTest::newRow("root in another case")
        << u"c:\\LEX\\tomo98a\\y.htm"_qs << u"y.htm"_qs << u"c:LEXtomo98a"_qs;
    QTest::newRow("file name inside the folder") << u"C:\\lex\\ab\\b"_qs << u"b"_qs << u"a"_qs;
    QTest::newRow("no backslash") << u"abc.htm"_qs << u"abc.htm"_qs << QString();
    QTest::newRow("ends in a backslash") << u"C:\\lex\\tomo98a\\"_qs << QString() << u"tomo98a"_qs;
}

void SearchDriverTest::derivedTexts() {
    QFETCH(QString, path);
    QFETCH(QString, fileName);
    QFETCH(QString, folderName);
    ScriptedSearchEngine engine(FindAlways({{u"Título"_qs, path}}));
    Harness h;
    h.run(engine, u"x"_qs);
    h.list();
    QCOMPARE(entriesOf(h.window.List1()), (std::vector<ListEntry>{{fileName, 0}}));
    QCOMPARE(entriesOf(h.window.FoundList()), (std::vector<ListEntry>{{u"Título"_qs, 0}}));
    QCOMPARE(entriesOf(h.window.List2()), (std::vector<ListEntry>{{folderName, 0}}));
}

void SearchDriverTest::folderFilter_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("listed");  // List1, in listing order
    QTest::newRow("folder and the longer one it is part of")
        << u"tomo98a"_qs << QStringList{u"a.htm"_qs, u"ab.htm"_qs, u"tomo98a.htm"_qs};
    QTest::newRow("longer folder only") << u"tomo98ab"_qs << QStringList{u"ab.htm"_qs};
    QTest::newRow("other case does not pass") << u"TOMO98A"_qs << QStringList{u"upper.htm"_qs};
    QTest::newRow("empty lets every document pass")
        << QString()
        << QStringList{u"a.htm"_qs, u"ab.htm"_qs, u"b.htm"_qs, u"tomo98a.htm"_qs, u"upper.htm"_qs};
    QTest::newRow("no document") << u"tomo98z"_qs << QStringList{};
}

void SearchDriverTest::folderFilter() {
    QFETCH(QString, folder);
    QFETCH(QStringList, listed);
    ScriptedSearchEngine engine(FindAlways({
        {u"A"_qs, u"C:\\lex\\tomo98a\\a.htm"_qs},
        {u"AB"_qs, u"C:\\lex\\tomo98ab\\ab.htm"_qs},
        {u"B"_qs, u"C:\\lex\\tomo98b\\b.htm"_qs},
        {u"Nome"_qs, u"C:\\lex\\tomo98c\\tomo98a.htm"_qs},
        {u"Maiúsculas"_qs, u"C:\\lex\\TOMO98A\\upper.htm"_qs},
    }));
    Harness h;
    h.run(engine, u"x"_qs);
    h.list(folder);
    QCOMPARE(textsOf(h.window.List1()), listed);
    QCOMPARE(h.window.FoundList().ListCount(), listed.size());
    QCOMPARE(h.window.List2().ListCount(), listed.size());
    // Tags count the documents this listing took, so each points into the filtered List1.
    for (int row = 0; row < h.window.List1().ListCount(); ++row) {
        QCOMPARE(h.window.List1().entry(row).ItemData, row);
    }
}

void SearchDriverTest::sortedTitlesKeepTheirPosition() {
    ScriptedSearchEngine engine(FindAlways({
        {u"Portugal"_qs, u"C:\\lex\\tomo98b\\portugal.htm"_qs},
        {u"água"_qs, u"C:\\lex\\tomo98a\\agua.htm"_qs},
        {u"Brasil"_qs, u"C:\\lex\\tomo98a\\brasil.htm"_qs},
        {u"Amazonas"_qs, u"C:\\lex\\tomo98c\\rio-amazonas.htm"_qs},
    }));
    Harness h;
    h.run(engine, u"x"_qs);
    h.list();
    QCOMPARE(entriesOf(h.window.FoundList()),
             (std::vector<ListEntry>{
                 {u"água"_qs, 1}, {u"Amazonas"_qs, 3}, {u"Brasil"_qs, 2}, {u"Portugal"_qs, 0}}));
    QCOMPARE(textsOf(h.window.List1()), (QStringList{u"portugal.htm"_qs, u"agua.htm"_qs,
                                                     u"brasil.htm"_qs, u"rio-amazonas.htm"_qs}));
    QCOMPARE(entriesOf(h.window.List2()),
             (std::vector<ListEntry>{
                 {u"tomo98a"_qs, 1}, {u"tomo98a"_qs, 2}, {u"tomo98b"_qs, 0}, {u"tomo98c"_qs, 3}}));
}

void SearchDriverTest::failingDocumentKeepsWhatWasListed() {
    ScriptedSearchEngine engine(FindAlways({
        {u"B"_qs, u"C:\\lex\\tomo98a\\b.htm"_qs},
        {u"A"_qs, u"C:\\lex\\tomo98a\\a.htm"_qs},
        {u"C"_qs, u"C:\\lex\\tomo98a\\c.htm"_qs},
    }));
    Harness h;
    h.run(engine, u"x"_qs);
    static_cast<ScriptedResultList&>(*engine.jobs.back().lock()->Results()).failAt = 2;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, h.list());
    QCOMPARE(textsOf(h.window.List1()), (QStringList{u"b.htm"_qs, u"a.htm"_qs}));
    QCOMPARE(entriesOf(h.window.FoundList()), (std::vector<ListEntry>{{u"A"_qs, 1}, {u"B"_qs, 0}}));
}

void SearchDriverTest::settingsInOrderAndKind() {
    ScriptedSearchEngine engine;
    RecordingWindowSystem windows;
    SearchDriver driver;
    SearchWindowModel window(driver, windows);
    driver.RunSearchJob(engine, u"brasil"_qs, u"C:\\lex\\"_qs, window);

    QCOMPARE(engine.jobs.size(), std::size_t{1});
    const auto job = engine.jobs.front().lock();
    QVERIFY(job);
    const SettingValue empty = EmptyValue{};
    const SettingValue zero = std::int16_t{0};
    const SettingValue yes{std::in_place_type<bool>, true};
    const std::vector<std::pair<int, SettingValue>> expected{
        {12, u"brasil"_qs},
        {11, empty},
        {14, empty},
        {8, zero},
        {15, empty},
        {16, empty},
        {18, empty},
        {17, empty},
        {6, u"C:\\lex\\"_qs},
        {5, empty},
        {3, empty},
        {10, u"search.lst"_qs},
        {9, yes},
        {13, yes},
        {7, zero},
        {26, zero},
        {21, SettingValue{static_cast<SearchCallbacks*>(&window)}},
    };
    QCOMPARE(job->settings.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(job->settings[i].first, expected[i].first);
        QVERIFY2(job->settings[i].second.index() == expected[i].second.index(),
                 qPrintable(QStringLiteral("kind of setting %1").arg(expected[i].first)));
        QVERIFY2(job->settings[i].second == expected[i].second,
                 qPrintable(QStringLiteral("value of setting %1").arg(expected[i].first)));
    }
    QCOMPARE(job->invoked, QList<int>{JobId::kExecute});
    QVERIFY(driver.HasJob());
}

void SearchDriverTest::foundAtEndLines() {
    QCOMPARE(FoundAtEndLine(u"X"_qs, 87, QString()), u" 87: X []"_qs);
    QCOMPARE(FoundAtEndLine(u"X"_qs, -5, QString()), u"-5: X []"_qs);
    QCOMPARE(FoundAtEndLine(u"C:\\lex\\a.htm"_qs, 0, u"3 ocorrências"_qs),
             u" 0: C:\\lex\\a.htm [3 ocorrências]"_qs);
}

// The callbacks as the engine makes them: hits remembered from run to run,
// found-at-end lines kept in FoundList untagged, events processed on asking.
void SearchDriverTest::callbacksDuringRun() {
    auto script = FindAlways({{u"Zebra"_qs, u"C:\\lex\\tomo98c\\zebra.htm"_qs}});
    int abortAnswers = 0;
    script->duringRun = [&abortAnswers](SearchCallbacks& callbacks) {
        callbacks.ReceiveSearching(u"x"_qs);
        callbacks.ReceiveFound(u"x"_qs, 2);
        callbacks.ReceiveFoundWithDetail(u"detalhe"_qs);
        callbacks.ReceiveFoundAtEnd(u"primeiro"_qs, 10);
        callbacks.ReceiveHits(u"h1"_qs);
        callbacks.ReceiveHitCountByWord(u"x: 2"_qs);
        abortAnswers += callbacks.CheckForAbort();
        callbacks.ReceiveFoundAtEnd(u"segundo"_qs, -3);
        callbacks.ReceiveHitsAtEnd(u"h2"_qs);
    };
    ScriptedSearchEngine engine(script);
    Harness h;
    h.run(engine, u"x"_qs);
    QCOMPARE(abortAnswers, 0);
    QCOMPARE(h.windows.pendingEventRounds, 1);
    QCOMPARE(h.driver.LastHitsText(), u"h2"_qs);
    QCOMPARE(entriesOf(h.window.FoundList()),
             (std::vector<ListEntry>{{u" 10: primeiro []"_qs, 0}, {u"-3: segundo [h1]"_qs, 0}}));
    // Listing appends to the lines of the run.
    h.driver.ListResults(h.window.resultLists(), std::nullopt);
    QCOMPARE(textsOf(h.window.FoundList()),
             (QStringList{u" 10: primeiro []"_qs, u"-3: segundo [h1]"_qs, u"Zebra"_qs}));

    // The next run starts with the hits text the last one left.
    script->duringRun = [](SearchCallbacks& callbacks) { callbacks.ReceiveFoundAtEnd(u"y"_qs, 0); };
    h.window.ClearResultLists();
    h.run(engine, u"y"_qs);
    QCOMPARE(textsOf(h.window.FoundList()), QStringList{u" 0: y [h2]"_qs});
}

void SearchDriverTest::hundredThousandResults() {
    constexpr int kCount = 100000;
    const QStringList folders{u"tomo98a"_qs, u"tomo98b"_qs, u"tomo98c"_qs};
    std::vector<ScriptedDocument> documents;
    documents.reserve(kCount);
    for (int i = 0; i < kCount; ++i) {
        documents.push_back({QStringLiteral("Verbete %1").arg((i * 7919) % kCount),
                             QStringLiteral("C:\\lex\\%1\\v%2.htm").arg(folders[i % 3]).arg(i)});
    }
    std::shuffle(documents.begin(), documents.end(), std::mt19937(2002));
    ScriptedSearchEngine engine(FindAlways(documents));
    Harness h;
    h.run(engine, u"v"_qs);
    h.list();

    const ListControl& found = h.window.FoundList();
    const ListControl& files = h.window.List1();
    QCOMPARE(found.ListCount(), kCount);
    QCOMPARE(files.ListCount(), kCount);
    QCOMPARE(h.window.List2().ListCount(), kCount);
    QCollator collator(QLocale(u"pt_BR"_qs));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    for (int row = 0; row < kCount; ++row) {
        const ListEntry& title = found.entry(row);
        if (row > 0) QVERIFY(collator.compare(found.entry(row - 1).text, title.text) <= 0);
        // The tag leads from the title back to its own document.
        const ScriptedDocument& document = documents.at(static_cast<std::size_t>(title.ItemData));
        QCOMPARE(title.text, document.title);
        QVERIFY(document.path.endsWith(u'\\' + files.entry(title.ItemData).text));
    }
    for (int row = 1; row < kCount; ++row) {
        QVERIFY(h.window.List2().entry(row - 1).text <= h.window.List2().entry(row).text);
    }
}

QTEST_GUILESS_MAIN(SearchDriverTest)
#include "test_search_driver.moc"
