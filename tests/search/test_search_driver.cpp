// The search driver: lists that sort like the original's list controls, and
// listing a run's results.
#include <QTest>

#include "ScriptedSearchEngine.h"
#include "headless/HeadlessWindowSystem.h"
#include "search/ListControl.h"
#include "search/SearchDriver.h"
#include "search/SearchWindowModel.h"

using namespace lumera;
using namespace lumera::testing;
using namespace Qt::StringLiterals;

namespace {

// "text=ItemData|..." of every entry, in list order.
QString shown(const ListControl& list) {
    QStringList entries;
    for (int row = 0; row < list.ListCount(); ++row)
        entries << list.entry(row).text + u'=' + QString::number(list.entry(row).ItemData);
    return entries.join(u'|');
}

// A window model with the driver it reports to, as a lookup has them.
struct Harness {
    explicit Harness(std::vector<ScriptedDocument> documents)
        : engine(FindAlways(std::move(documents))) {}
    void run(const QString& request = u"x"_s) {
        driver.RunSearchJob(engine, request, u"C:\\lex\\"_s, window);
    }
    void list(const std::optional<QString>& folder = std::nullopt) {
        window.ClearResultLists();
        driver.ListResults(window.resultLists(), folder);
    }
    ScriptedSearchEngine engine;
    HeadlessWindowSystem windows;
    SearchDriver driver;
    SearchWindowModel window{windows};
};

}  // namespace

class SearchDriverTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void sortedListOrder();
    void listingDerivesFileAndFolder();
    void folderFilter();
    void sortedTitlesKeepTheirPosition();
};

// One by one, all at once, or half and half, a sorted list ends the same:
// accents sort with their letter, letter case does not separate, and equal
// entries keep the order they came in.
void SearchDriverTest::sortedListOrder() {
    const struct {
        QStringList added;
        QString sorted;
    } rows[] = {
        {{"Bola", "Água", "azul", "Abacaxi", "Ônibus", "ovo"},
         u"Abacaxi=3|Água=1|azul=2|Bola=0|Ônibus=4|ovo=5"_s},
        {{"casa", "Bar", "CASA", "Casa", "bar"}, u"Bar=1|bar=4|casa=0|CASA=2|Casa=3"_s},
        {{"b", "", "a"}, u"=1|a=2|b=0"_s},
    };
    for (const auto& row : rows) {
        ListControl oneByOne(ListControl::Order::Sorted);
        ListControl inBulk(ListControl::Order::Sorted);
        ListControl mixed(ListControl::Order::Sorted);
        std::vector<ListEntry> bulk;
        for (int i = 0; i < row.added.size(); ++i) {
            oneByOne.AddItem(row.added[i], i);
            bulk.push_back({row.added[i], i});
            if (i < row.added.size() / 2) mixed.AddItem(row.added[i], i);
        }
        inBulk.AddItems(bulk);
        mixed.AddItems(std::vector<ListEntry>(bulk.begin() + row.added.size() / 2, bulk.end()));
        QCOMPARE(shown(oneByOne), row.sorted);
        QCOMPARE(shown(inBulk), row.sorted);
        QCOMPARE(shown(mixed), row.sorted);
    }
}

void SearchDriverTest::listingDerivesFileAndFolder() {
    const struct {
        QString path;
        QString fileName;
        QString folderName;
    } rows[] = {
        {u"C:\\lex\\tomo98a\\abc.htm"_s, u"abc.htm"_s, u"tomo98a"_s},
        {u"C:\\lex\\a\\b\\x.htm"_s, u"x.htm"_s, u"ab"_s},  // nested folders run together
        {u"D:\\x\\y.htm"_s, u"y.htm"_s, u"D:x"_s},         // outside the root
        {u"c:\\LEX\\tomo98a\\y.htm"_s, u"y.htm"_s, u"c:LEXtomo98a"_s},
        {u"C:\\lex\\ab\\b"_s, u"b"_s, u"a"_s},  // the file name taken out of the folder too
        {u"abc.htm"_s, u"abc.htm"_s, QString()},
        {u"C:\\lex\\tomo98a\\"_s, QString(), u"tomo98a"_s},
    };
    for (const auto& row : rows) {
        Harness h({{u"Título"_s, row.path}});
        h.run();
        h.list();
        QCOMPARE(shown(h.window.List1()), row.fileName + u"=0"_s);
        QCOMPARE(shown(h.window.FoundList()), u"Título=0"_s);
        QCOMPARE(shown(h.window.List2()), row.folderName + u"=0"_s);
    }
}

// Only documents whose path holds the folder, exact case; the tags count the
// documents this listing took, so each points into the filtered List1.
void SearchDriverTest::folderFilter() {
    const struct {
        QString folder;
        QString listed;  // List1
    } rows[] = {
        {u"tomo98a"_s, u"a.htm=0|ab.htm=1|tomo98a.htm=2"_s},
        {u"tomo98ab"_s, u"ab.htm=0"_s},
        {u"TOMO98A"_s, u"upper.htm=0"_s},
        {QString(), u"a.htm=0|ab.htm=1|b.htm=2|tomo98a.htm=3|upper.htm=4"_s},
        {u"tomo98z"_s, QString()},
    };
    Harness h({{u"A"_s, u"C:\\lex\\tomo98a\\a.htm"_s},
               {u"AB"_s, u"C:\\lex\\tomo98ab\\ab.htm"_s},
               {u"B"_s, u"C:\\lex\\tomo98b\\b.htm"_s},
               {u"Nome"_s, u"C:\\lex\\tomo98c\\tomo98a.htm"_s},
               {u"Maiúsculas"_s, u"C:\\lex\\TOMO98A\\upper.htm"_s}});
    h.run();
    for (const auto& row : rows) {
        h.list(row.folder);
        QCOMPARE(shown(h.window.List1()), row.listed);
        QCOMPARE(h.window.FoundList().ListCount(), h.window.List1().ListCount());
        QCOMPARE(h.window.List2().ListCount(), h.window.List1().ListCount());
    }
}

void SearchDriverTest::sortedTitlesKeepTheirPosition() {
    Harness h({{u"Portugal"_s, u"C:\\lex\\tomo98b\\portugal.htm"_s},
               {u"água"_s, u"C:\\lex\\tomo98a\\agua.htm"_s},
               {u"Brasil"_s, u"C:\\lex\\tomo98a\\brasil.htm"_s},
               {u"Amazonas"_s, u"C:\\lex\\tomo98c\\rio-amazonas.htm"_s}});
    h.run();
    h.list();
    QCOMPARE(shown(h.window.FoundList()), u"água=1|Amazonas=3|Brasil=2|Portugal=0"_s);
    QCOMPARE(shown(h.window.List1()),
             u"portugal.htm=0|agua.htm=1|brasil.htm=2|rio-amazonas.htm=3"_s);
    QCOMPARE(shown(h.window.List2()), u"tomo98a=1|tomo98a=2|tomo98b=0|tomo98c=3"_s);
}

QTEST_GUILESS_MAIN(SearchDriverTest)
#include "test_search_driver.moc"
