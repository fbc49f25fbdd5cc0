// The router's rule table, driven event by event. Each scenario feeds URLs
// (and "--complete" for a finished document, "--request=X" for the page's
// search field) and lists every line the router's actions produce.
#include <QTest>

#include "navigation/RouteTrace.h"

using namespace lumera;

namespace {

QStringList run(const QStringList& events, RouteTrace& trace) {
    QStringList out;
    for (const QString& event : events) {
        if (event == u"--complete") {
            trace.documentComplete();
        } else if (event.startsWith(u"--request=")) {
            trace.setRequestValue(event.mid(10));
        } else if (event == u"--no-request") {
            trace.setRequestValue(std::nullopt);
        } else {
            out << trace.navigate(event);
        }
    }
    return out;
}

}  // namespace

class RouterTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void scenarios_data();
    void scenarios();
    void pageName_data();
    void pageName();
    void guardsClearedButTimeline();
    void ownTargetsStayBounded();
    void tableIsInOrder();
};

void RouterTest::scenarios_data() {
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("section redirect, then the shared guard")
        << QStringList{"D:\\lex2000\\x\\v7.htm", "D:\\lex2000\\v3.htm"}
        << QStringList{"> D:\\lex2000\\x\\v7.htm", "Navigate D:\\lex2000\\v7.htm", "Cancel false",
                       // v3 is no own target: past 1 to 32 it becomes an article request
                       "> D:\\lex2000\\v3.htm", "BuildArticlePage v3.htm", "Cancel true"};
    QTest::newRow("own redirect comes back and goes through")
        << QStringList{"file:///D:/lex2000/v7.htm", "D:\\lex2000\\v7.htm", "--complete",
                       "D:\\lex2000\\v7.htm"}
        << QStringList{"> file:///D:/lex2000/v7.htm", "Navigate D:\\lex2000\\v7.htm",
                       "Cancel false", "> D:\\lex2000\\v7.htm", "Cancel false",
                       // re-armed after the document completed
                       "> D:\\lex2000\\v7.htm", "Navigate D:\\lex2000\\v7.htm", "Cancel false"};
    QTest::newRow("longer name ending in v1.htm; numeric order")
        << QStringList{"D:\\xv1.htm", "--complete", "D:\\v31.htm", "--complete", "D:\\v11.htm"}
        << QStringList{"> D:\\xv1.htm", "Navigate D:\\lex2000\\v1.htm",  "Cancel false",
                       "> D:\\v31.htm", "Navigate D:\\lex2000\\v31.htm", "Cancel false",
                       "> D:\\v11.htm", "Navigate D:\\lex2000\\v11.htm", "Cancel false"};
    QTest::newRow("fotosm, creditos, ajuda")
        << QStringList{"D:\\a\\fotosm.htm", "D:\\a\\creditos.htm", "D:\\a\\ajuda.htm",
                       "D:\\a\\ajuda.htm"}
        << QStringList{
               "> D:\\a\\fotosm.htm",   "Navigate D:\\lex2000\\fotosm.htm",   "Cancel false",
               "> D:\\a\\creditos.htm", "Navigate D:\\lex2000\\creditos.htm", "Cancel false",
               "> D:\\a\\ajuda.htm",    "Navigate D:\\lex2000\\ajuda.htm",    "Cancel false",
               "> D:\\a\\ajuda.htm",    "BuildArticlePage ajuda.htm",         "Cancel true"};
    QTest::newRow("VOLTA is case-sensitive")
        << QStringList{"D:\\lex2000\\VOLTA", "D:\\lex2000\\volta"}
        << QStringList{
               "> D:\\lex2000\\VOLTA",   "GoBack",     "Cancel true", "> D:\\lex2000\\volta",
               "BuildArticlePage volta", "Cancel true"};
    QTest::newRow("search field")
        << QStringList{"--request=São Paulo", "D:\\lex2000\\dtsearch.asp?request=S%E3o+Paulo",
                       "--request=",          "D:\\lex2000\\dtsearch.asp",
                       "--no-request",        "D:\\lex2000\\dtsearch.asp"}
        << QStringList{"> D:\\lex2000\\dtsearch.asp?request=S%E3o+Paulo",
                       "LookUpArticleTitle São Paulo",
                       "Cancel true",
                       "> D:\\lex2000\\dtsearch.asp",
                       "Cancel true",
                       "> D:\\lex2000\\dtsearch.asp",
                       "Cancel true"};
    QTest::newRow("picture window")
        << QStringList{"D:\\lex2000\\filme.tv", "D:\\lex2000\\a.tvx\\b.htm"}
        << QStringList{"> D:\\lex2000\\filme.tv",     "ShowPicture", "Cancel true",
                       "> D:\\lex2000\\a.tvx\\b.htm", "ShowPicture", "Cancel true"};
    QTest::newRow("article folders, raw test")
        << QStringList{"D:\\lex2000\\tomo98b\\xyz.htm", "D:\\lex2000\\TOMO98B\\xyz.htm",
                       "file:///D:/lex2000/tomo98a/abc.htm"}
        << QStringList{
               "> D:\\lex2000\\tomo98b\\xyz.htm",      "BuildArticlePage xyz.htm", "Cancel true",
               "> D:\\lex2000\\TOMO98B\\xyz.htm",      "BuildArticlePage xyz.htm", "Cancel true",
               "> file:///D:/lex2000/tomo98a/abc.htm", "BuildArticlePage abc.htm", "Cancel true"};
    QTest::newRow("pass-through in any case")
        << QStringList{"D:\\LEX2000\\JOIA.HTM", "/home/u/lex/VF.htm", "D:\\x\\BannerTomoBA.gif",
                       "D:\\v2.htm?joia.htm"}
        << QStringList{"> D:\\LEX2000\\JOIA.HTM", "Cancel false", "> /home/u/lex/VF.htm",
                       "Cancel false", "> D:\\x\\BannerTomoBA.gif", "Cancel false",
                       // an earlier rule comes first
                       "> D:\\v2.htm?joia.htm", "Navigate D:\\lex2000\\v2.htm", "Cancel false"};
    QTest::newRow("timeline: once a run, backslashes only")
        << QStringList{"D:/lex2000/timeline/main.htm", "D:\\lex2000\\TimeLine\\Main.htm",
                       "D:\\lex2000\\TimeLine\\Main.htm", "--complete",
                       "D:\\lex2000\\timeline\\timeline.htm"}
        << QStringList{"> D:/lex2000/timeline/main.htm",
                       "BuildArticlePage main.htm",
                       "Cancel true",
                       "> D:\\lex2000\\TimeLine\\Main.htm",
                       "Navigate D:\\lex2000\\TimeLine\\Main.htm",
                       "Cancel false",
                       "> D:\\lex2000\\TimeLine\\Main.htm",
                       "Cancel false",
                       "> D:\\lex2000\\timeline\\timeline.htm",
                       "BuildArticlePage timeline.htm",
                       "Cancel true"};
    QTest::newRow("br500: rule 41 needs the guard set, and never repeats its own restart")
        << QStringList{"D:\\lex2000\\br500\\01.htm",
                       "D:\\lex2000\\br500\\01.htm",
                       "D:\\lex2000\\br500\\02.htm",
                       "D:\\lex2000\\br500\\02.htm",
                       "--complete",
                       "D:\\lex2000\\br500\\02.htm"}
        << QStringList{"> D:\\lex2000\\br500\\01.htm",
                       "Navigate D:\\lex2000\\br500\\01.htm",
                       "Cancel false",
                       "> D:\\lex2000\\br500\\01.htm",
                       "Cancel false",
                       "> D:\\lex2000\\br500\\02.htm",
                       "Navigate D:\\lex2000\\br500\\02.htm",
                       "Cancel false",
                       "> D:\\lex2000\\br500\\02.htm",
                       "Cancel false",
                       "> D:\\lex2000\\br500\\02.htm",
                       "BuildArticlePage 02.htm",
                       "Cancel true"};
    QTest::newRow("atlas group re-arms itself")
        << QStringList{"D:\\l\\atlast\\main.htm", "D:\\l\\crono.htm", "D:\\l\\crono.htm",
                       "D:\\l\\atlasm\\atlast.htm", "D:\\l\\crono.htm"}
        << QStringList{"> D:\\l\\atlast\\main.htm", "Navigate D:\\l\\atlast\\main.htm",
                       "Cancel false", "> D:\\l\\crono.htm", "Navigate D:\\l\\crono.htm",
                       "Cancel false",
                       // its own restart: crono's guard is set, so it goes through
                       "> D:\\l\\crono.htm", "Cancel false", "> D:\\l\\atlasm\\atlast.htm",
                       "Navigate D:\\l\\atlasm\\atlast.htm", "Cancel false", "> D:\\l\\crono.htm",
                       "Navigate D:\\l\\crono.htm", "Cancel false"};
    QTest::newRow("sub-pages of the atlas")
        << QStringList{"D:\\l\\deep.htm", "D:\\l\\solar.html", "D:\\l\\solar.htm",
                       "D:\\l\\PL32.HTM"}
        << QStringList{"> D:\\l\\deep.htm",   "Navigate D:\\l\\deep.htm",   "Cancel false",
                       "> D:\\l\\solar.html", "Navigate D:\\l\\solar.html", "Cancel false",
                       "> D:\\l\\solar.htm",  "BuildArticlePage solar.htm", "Cancel true",
                       "> D:\\l\\PL32.HTM",   "Navigate D:\\l\\PL32.HTM",   "Cancel false"};
    QTest::newRow("lex2000a then atlasa: unmatched addresses go through")
        << QStringList{"D:\\lex2000a\\atlasa\\main.htm",
                       "D:\\lex2000a\\atlasa\\main.htm",
                       "D:\\lex2000a\\atlasa\\main.htm",
                       "D:\\lex2000a\\atlasa\\cerebro.htm",
                       "--complete",
                       "D:\\lex2000a\\atlasa\\cerebro.htm"}
        << QStringList{"> D:\\lex2000a\\atlasa\\main.htm",
                       "Navigate D:\\lex2000a\\atlasa\\main.htm", "Cancel false",
                       // back as own navigation: 40 is guarded now, 53 restarts once more
                       "> D:\\lex2000a\\atlasa\\main.htm",
                       "Navigate D:\\lex2000a\\atlasa\\main.htm", "Cancel false",
                       "> D:\\lex2000a\\atlasa\\main.htm", "Cancel false",
                       "> D:\\lex2000a\\atlasa\\cerebro.htm", "Cancel false",
                       "> D:\\lex2000a\\atlasa\\cerebro.htm",
                       "Navigate D:\\lex2000a\\atlasa\\cerebro.htm", "Cancel false"};
    QTest::newRow("constit, codigos, orq, tabela, atlasb, atlasg, anatf")
        << QStringList{"D:\\a\\CONSTIT.htm",        "D:\\a\\codigos.htm",
                       "D:\\x\\orq\\orq.htm",       "D:\\x\\tabela\\main.htm",
                       "D:\\x\\atlasb\\atlasb.htm", "D:\\x\\atlasg\\main.htm",
                       "D:\\x\\anatf1.htm"}
        << QStringList{
               "> D:\\a\\CONSTIT.htm", "Navigate D:\\a\\CONSTIT.htm", "Cancel false",
               // shares rule 38's guard
               "> D:\\a\\codigos.htm", "BuildArticlePage codigos.htm", "Cancel true",
               "> D:\\x\\orq\\orq.htm", "Navigate D:\\x\\orq\\orq.htm", "Cancel false",
               "> D:\\x\\tabela\\main.htm", "Navigate D:\\x\\tabela\\main.htm", "Cancel false",
               "> D:\\x\\atlasb\\atlasb.htm", "Navigate D:\\x\\atlasb\\atlasb.htm", "Cancel false",
               "> D:\\x\\atlasg\\main.htm", "Navigate D:\\x\\atlasg\\main.htm", "Cancel false",
               "> D:\\x\\anatf1.htm", "Navigate D:\\x\\anatf1.htm", "Cancel false"};
    QTest::newRow("addresses outside the content")
        << QStringList{"about:blank", "http://www.exemplo.com.br/"}
        << QStringList{"> about:blank",     "BuildArticlePage about:blank",
                       "Cancel true",       "> http://www.exemplo.com.br/",
                       "BuildArticlePage ", "Cancel true"};
}

void RouterTest::scenarios() {
    QFETCH(QStringList, events);
    QFETCH(QStringList, expected);
    RouteTrace trace(QStringLiteral("D:"));
    const QStringList actual = run(events, trace);
    if (actual != expected) {
        qWarning().noquote() << "actual:\n" << actual.join(u'\n');
    }
    QCOMPARE(actual, expected);
}

void RouterTest::pageName_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("name");
    QTest::newRow("backslashes") << "D:\\lex2000\\tomo98b\\xyz.htm"
                                 << "xyz.htm";
    QTest::newRow("file URL") << "file:///D:/lex2000/tomo98a/abc.htm"
                              << "abc.htm";
    QTest::newRow("mixed") << "D:\\lex2000\\a/b.htm"
                           << "b.htm";
    QTest::newRow("slash before backslash") << "D:/a/b\\c.htm"
                                            << "c.htm";
    QTest::newRow("query kept") << "D:\\x\\a.htm?b=1#c"
                                << "a.htm?b=1#c";
    QTest::newRow("trailing backslash") << "D:\\lex2000\\"
                                        << "";
    QTest::newRow("trailing slash") << "http://x/"
                                    << "";
    QTest::newRow("no separator") << "about:blank"
                                  << "about:blank";
}

void RouterTest::pageName() {
    QFETCH(QString, url);
    QFETCH(QString, name);
    QCOMPARE(PageNameOf(url), name);
    RouteTrace trace(QStringLiteral("D:"));
    trace.navigate(url);
    QCOMPARE(trace.router().PageName(), name);
}

void RouterTest::guardsClearedButTimeline() {
    RouteTrace trace(QStringLiteral("D:"));
    trace.navigate(QStringLiteral("D:\\v1.htm"));
    trace.navigate(QStringLiteral("D:\\x\\timeline\\main.htm"));
    trace.navigate(QStringLiteral("D:\\x\\atlast\\main.htm"));
    const GuardFlags& g = trace.router().guards();
    QCOMPARE(g.value(Guard::GuardCdPages), 1);
    QCOMPARE(g.value(Guard::GuardTimeline), 1);
    QCOMPARE(g.value(Guard::GuardAtlasT), 1);
    QCOMPARE(trace.router().ownTargets().size(), 3);
    trace.documentComplete();
    QCOMPARE(g.value(Guard::GuardCdPages), 0);
    QCOMPARE(g.value(Guard::GuardAtlasT), 0);
    QCOMPARE(g.value(Guard::GuardTimeline), 1);  // never cleared
    QVERIFY(trace.router().ownTargets().isEmpty());
    // Guards before PageName: an event decided by rules 1 to 37 leaves it alone.
    trace.navigate(QStringLiteral("D:\\tomo98a\\brasil.htm"));
    trace.navigate(QStringLiteral("D:\\lex2000\\VOLTA"));
    QCOMPARE(trace.router().PageName(), QStringLiteral("brasil.htm"));
}

void RouterTest::ownTargetsStayBounded() {
    RouteTrace trace(QStringLiteral("D:"));
    for (int i = 0; i < 200; ++i) {
        trace.navigate(QStringLiteral("D:\\l\\atlast\\main.htm"));
        trace.navigate(QStringLiteral("D:\\l\\crono.htm"));
    }
    QVERIFY(trace.router().ownTargets().size() <= Router::kMaxOwnTargets);
}

void RouterTest::tableIsInOrder() {
    const auto& table = RouteTable();
    QCOMPARE(table.size(), std::size_t(60));
    for (std::size_t i = 0; i < table.size(); ++i) QCOMPARE(table[i].number, int(i) + 1);
    // No section pattern is contained in another one of 1 to 31.
    for (int a = 0; a < 31; ++a) {
        for (int b = 0; b < 31; ++b) {
            if (a != b) QVERIFY(!table[a].patterns[0].contains(table[b].patterns[0]));
        }
    }
}

QTEST_GUILESS_MAIN(RouterTest)
#include "test_router.moc"
