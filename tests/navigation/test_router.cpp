// The router's rule table, driven event by event. Each scenario feeds URLs
// and lists, for each URL, what the router did: its actions joined by ", ",
// last "Cancel true" or "Cancel false". Other events: "--complete" (a
// document finished), "--request=X" / "--no-request" (the page's search
// field), "--missing=KEY" (no article has that key), "--file=PATH" (the
// address names a file), "--shown=ADDRESS" (a navigation of the whole browser
// went on), "--back" and "--forward" (a step in the reader's history:
// what showing that page again did).
#include <QTest>

#include "navigation/RouteTrace.h"

using namespace lumera;

namespace {

struct Scenario {
    const char* name;
    QStringList events;
    QStringList expected;
};

// clang-format off
const Scenario kScenarios[] = {
    {"section redirect, then the shared guard",
     {"D:\\lex2000\\x\\v7.htm", "D:\\lex2000\\v3.htm"},
     // v3 is no own target: past 1 to 32 it becomes an article request
     {"Navigate D:\\lex2000\\v7.htm, Cancel false", "BuildArticlePage v3.htm, Cancel true"}},
    {"own redirect comes back and goes through; re-armed after the document",
     {"file:///D:/lex2000/v7.htm", "D:\\lex2000\\v7.htm", "--complete", "D:\\lex2000\\v7.htm"},
     {"Navigate D:\\lex2000\\v7.htm, Cancel false", "Cancel false",
      "Navigate D:\\lex2000\\v7.htm, Cancel false"}},
    {"longer name ending in v1.htm; numeric order",
     {"D:\\xv1.htm", "--complete", "D:\\v31.htm", "--complete", "D:\\v11.htm"},
     {"Navigate D:\\lex2000\\v1.htm, Cancel false", "Navigate D:\\lex2000\\v31.htm, Cancel false",
      "Navigate D:\\lex2000\\v11.htm, Cancel false"}},
    {"fotosm, creditos, ajuda",
     {"D:\\a\\fotosm.htm", "D:\\a\\creditos.htm", "D:\\a\\ajuda.htm", "D:\\a\\ajuda.htm"},
     {"Navigate D:\\lex2000\\fotosm.htm, Cancel false",
      "Navigate D:\\lex2000\\creditos.htm, Cancel false",
      "Navigate D:\\lex2000\\ajuda.htm, Cancel false", "BuildArticlePage ajuda.htm, Cancel true"}},
    {"VOLTA is case-sensitive",
     {"D:\\lex2000\\VOLTA", "D:\\lex2000\\volta"},
     {"GoBack, Cancel true", "BuildArticlePage volta, Cancel true"}},
    {"search field",
     {"--request=São Paulo", "D:\\lex2000\\dtsearch.asp?request=S%E3o+Paulo", "--request=",
      "D:\\lex2000\\dtsearch.asp", "--no-request", "D:\\lex2000\\dtsearch.asp"},
     {"LookUpArticleTitle São Paulo, Cancel true", "Cancel true", "Cancel true"}},
    {"picture window",
     {"D:\\lex2000\\filme.tv", "D:\\lex2000\\a.tvx\\b.htm"},
     {"ShowPicture, Cancel true", "ShowPicture, Cancel true"}},
    {"article folders, raw test",
     {"D:\\lex2000\\tomo98b\\xyz.htm", "D:\\lex2000\\TOMO98B\\xyz.htm",
      "file:///D:/lex2000/tomo98a/abc.htm"},
     {"BuildArticlePage xyz.htm, Cancel true", "BuildArticlePage xyz.htm, Cancel true",
      "BuildArticlePage abc.htm, Cancel true"}},
    {"pass-through in any case, unless an earlier rule applies",
     {"D:\\LEX2000\\JOIA.HTM", "/home/u/lex/VF.htm", "D:\\x\\BannerTomoBA.gif",
      "D:\\v2.htm?joia.htm"},
     {"Cancel false", "Cancel false", "Cancel false", "Navigate D:\\lex2000\\v2.htm, Cancel false"}},
    {"timeline: restarted once a run, backslashes only; later met, its file is shown",
     {"D:/lex2000/timeline/main.htm", "D:\\lex2000\\TimeLine\\Main.htm",
      "D:\\lex2000\\TimeLine\\Main.htm", "--complete", "--missing=timeline.htm",
      "--file=D:\\lex2000\\timeline\\timeline.htm", "D:\\lex2000\\timeline\\timeline.htm",
      "D:\\lex2000\\timeline\\timeline.htm"},
     {"BuildArticlePage main.htm, Cancel true",
      "Navigate D:\\lex2000\\TimeLine\\Main.htm, Cancel false", "Cancel false",
      "BuildArticlePage timeline.htm, Navigate D:\\lex2000\\timeline\\timeline.htm, Cancel true",
      "Cancel false"}},
    {"br500: rule 41 needs the guard set, and never repeats its own restart",
     {"D:\\lex2000\\br500\\01.htm", "D:\\lex2000\\br500\\01.htm", "D:\\lex2000\\br500\\02.htm",
      "D:\\lex2000\\br500\\02.htm", "--complete", "D:\\lex2000\\br500\\02.htm"},
     {"Navigate D:\\lex2000\\br500\\01.htm, Cancel false", "Cancel false",
      "Navigate D:\\lex2000\\br500\\02.htm, Cancel false", "Cancel false",
      "BuildArticlePage 02.htm, Cancel true"}},
    {"atlas group re-arms itself",
     {"D:\\l\\atlast\\main.htm", "D:\\l\\crono.htm", "D:\\l\\crono.htm",
      "D:\\l\\atlasm\\atlast.htm", "D:\\l\\crono.htm"},
     // the second crono is its own restart: crono's guard is set, so it goes through
     {"Navigate D:\\l\\atlast\\main.htm, Cancel false", "Navigate D:\\l\\crono.htm, Cancel false",
      "Cancel false", "Navigate D:\\l\\atlasm\\atlast.htm, Cancel false",
      "Navigate D:\\l\\crono.htm, Cancel false"}},
    {"sub-pages of the atlas",
     {"D:\\l\\deep.htm", "D:\\l\\solar.html", "D:\\l\\solar.htm", "D:\\l\\PL32.HTM"},
     {"Navigate D:\\l\\deep.htm, Cancel false", "Navigate D:\\l\\solar.html, Cancel false",
      "BuildArticlePage solar.htm, Cancel true", "Navigate D:\\l\\PL32.HTM, Cancel false"}},
    {"lex2000a then atlasa: unmatched addresses go through",
     {"D:\\lex2000a\\atlasa\\main.htm", "D:\\lex2000a\\atlasa\\main.htm",
      "D:\\lex2000a\\atlasa\\main.htm", "D:\\lex2000a\\atlasa\\cerebro.htm", "--complete",
      "D:\\lex2000a\\atlasa\\cerebro.htm"},
     // back as own navigation: 40 is guarded now, 53 restarts once more
     {"Navigate D:\\lex2000a\\atlasa\\main.htm, Cancel false",
      "Navigate D:\\lex2000a\\atlasa\\main.htm, Cancel false", "Cancel false", "Cancel false",
      "Navigate D:\\lex2000a\\atlasa\\cerebro.htm, Cancel false"}},
    {"constit, codigos, orq, tabela, atlasb, atlasg, anatf",
     {"D:\\a\\CONSTIT.htm", "D:\\a\\codigos.htm", "D:\\x\\orq\\orq.htm", "D:\\x\\tabela\\main.htm",
      "D:\\x\\atlasb\\atlasb.htm", "D:\\x\\atlasg\\main.htm", "D:\\x\\anatf1.htm"},
     // codigos shares rule 38's guard
     {"Navigate D:\\a\\CONSTIT.htm, Cancel false", "BuildArticlePage codigos.htm, Cancel true",
      "Navigate D:\\x\\orq\\orq.htm, Cancel false", "Navigate D:\\x\\tabela\\main.htm, Cancel false",
      "Navigate D:\\x\\atlasb\\atlasb.htm, Cancel false",
      "Navigate D:\\x\\atlasg\\main.htm, Cancel false", "Navigate D:\\x\\anatf1.htm, Cancel false"}},
    {"restarted article links in the article folders come back and are built",
     {"D:\\lex2000\\tomo98a\\constituicao.htm", "D:\\lex2000\\tomo98a\\constituicao.htm",
      "D:\\lex2000\\tomo98c\\crono.htm", "D:\\lex2000\\tomo98c\\crono.htm"},
     {"Navigate D:\\lex2000\\tomo98a\\constituicao.htm, Cancel false",
      "BuildArticlePage constituicao.htm, Cancel true",
      "Navigate D:\\lex2000\\tomo98c\\crono.htm, Cancel false",
      "BuildArticlePage crono.htm, Cancel true"}},
    {"no article but a file: shown, and never asked for again; no file: silent",
     {"--missing=BAND-BRASIL.htm", "--file=D:\\LEX2000\\BANDEIRAS\\BAND-BRASIL.htm",
      "D:\\LEX2000\\BANDEIRAS\\BAND-BRASIL.htm", "D:\\LEX2000\\BANDEIRAS\\BAND-BRASIL.htm",
      "--missing=capa.htm#topo", "--file=D:\\lex2000\\tomo98a\\capa.htm",
      "D:\\lex2000\\tomo98a\\capa.htm#topo", "D:\\lex2000\\tomo98a\\capa.htm#topo",
      "--missing=nada.htm", "D:\\lex2000\\tomo98a\\nada.htm", "--file=D:\\lex2000\\fotos\\b.htm",
      "D:\\lex2000\\fotos\\b.htm"},
     {"BuildArticlePage BAND-BRASIL.htm, Navigate D:\\LEX2000\\BANDEIRAS\\BAND-BRASIL.htm, "
      "Cancel true",
      "Cancel false",
      "BuildArticlePage capa.htm#topo, Navigate D:\\lex2000\\tomo98a\\capa.htm#topo, Cancel true",
      "Cancel false", "BuildArticlePage nada.htm, Cancel true",
      // the database wins whenever it holds the key
      "BuildArticlePage b.htm, Cancel true"}},
    {"back and forward: each article rebuilt from its key, though all are vf.htm",
     {"--shown=D:\\lex2000\\v1.htm", "D:\\lex2000\\tomo98a\\brasil.htm", "--shown=C:\\lex\\vf.htm",
      "D:\\lex2000\\tomo98a\\amazonia.htm", "--shown=C:\\lex\\vf.htm", "--back",
      "--shown=C:\\lex\\vf.htm", "D:\\lex2000\\VOLTA", "--shown=D:\\lex2000\\v1.htm", "--back",
      "--forward", "--shown=C:\\lex\\vf.htm", "--forward", "--forward"},
     {"BuildArticlePage brasil.htm, Cancel true", "BuildArticlePage amazonia.htm, Cancel true",
      "Back, BuildArticlePage brasil.htm", "GoBack, Navigate D:\\lex2000\\v1.htm, Cancel true",
      "Back, Nothing", "Forward, BuildArticlePage brasil.htm",
      "Forward, BuildArticlePage amazonia.htm", "Forward, Nothing"}},
    {"a restart and a redirect are one step each; a new page drops what lay ahead",
     {"--shown=D:\\lex2000\\v1.htm", "D:\\lex2000\\x\\v5.htm", "--shown=D:\\lex2000\\v5.htm",
      "D:\\lex2000\\timeline\\main.htm", "--shown=D:\\lex2000\\timeline\\main.htm",
      "--shown=D:\\lex2000\\timeline\\main.htm", "--back", "--shown=D:\\LEX2000\\V5.HTM",
      "--forward", "--shown=D:\\lex2000\\timeline\\main.htm", "--back",
      "--shown=D:\\LEX2000\\V5.HTM", "--back", "--shown=D:\\lex2000\\v1.htm",
      "--shown=D:\\lex2000\\v9.htm", "--shown=D:\\lex2000\\sons\\tema.mid", "--forward", "--back",
      "--forward"},
     // the page a step shows is that step's, however the browser names it; a
     // sound goes to the desktop's player: no page of the history
     {"Navigate D:\\lex2000\\v5.htm, Cancel false",
      "Navigate D:\\lex2000\\timeline\\main.htm, Cancel false",
      "Back, Navigate D:\\lex2000\\v5.htm", "Forward, Navigate D:\\lex2000\\timeline\\main.htm",
      "Back, Navigate D:\\LEX2000\\V5.HTM", "Back, Navigate D:\\lex2000\\v1.htm",
      "Forward, Nothing", "Back, Navigate D:\\lex2000\\v1.htm",
      "Forward, Navigate D:\\lex2000\\v9.htm"}},
    {"addresses outside the content",
     {"about:blank", "http://www.exemplo.com.br/"},
     {"BuildArticlePage about:blank, Cancel true", "BuildArticlePage , Cancel true"}},
};

const struct {
    const char* url;
    const char* name;
} kPageNames[] = {
    {"D:\\lex2000\\tomo98b\\xyz.htm", "xyz.htm"},
    {"file:///D:/lex2000/tomo98a/abc.htm", "abc.htm"},
    {"D:\\lex2000\\a/b.htm", "b.htm"},
    {"D:/a/b\\c.htm", "c.htm"},
    {"D:\\x\\a.htm?b=1#c", "a.htm?b=1#c"},
    {"D:\\lex2000\\", ""},
    {"http://x/", ""},
    {"about:blank", "about:blank"},
};
// clang-format on

// What the router did for each URL event, one string per URL.
QStringList run(const QStringList& events, RouteTrace& trace) {
    QStringList out;
    for (const QString& event : events) {
        if (event == u"--complete") {
            trace.documentComplete();
        } else if (event.startsWith(u"--request=")) {
            trace.setRequestValue(event.mid(10));
        } else if (event == u"--no-request") {
            trace.setRequestValue(std::nullopt);
        } else if (event.startsWith(u"--missing=")) {
            trace.addMissingArticle(event.mid(10));
        } else if (event.startsWith(u"--file=")) {
            trace.addFile(event.mid(7));
        } else if (event.startsWith(u"--shown=")) {
            trace.shown(event.mid(8));
        } else if (event == u"--back" || event == u"--forward") {
            out << trace.step(event == u"--back" ? -1 : 1).join(u", ");
        } else {
            out << trace.navigate(event).mid(1).join(u", ");
        }
    }
    return out;
}

}  // namespace

class RouterTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void scenarios();
    void pageName();
    void ownTargetsStayBounded();
};

void RouterTest::scenarios() {
    for (const Scenario& s : kScenarios) {
        RouteTrace trace(QStringLiteral("D:"));
        const QStringList actual = run(s.events, trace);
        if (actual != s.expected) qWarning().noquote() << s.name << "\n" << actual.join(u'\n');
        QCOMPARE(actual, s.expected);
    }
}

void RouterTest::pageName() {
    for (const auto& row : kPageNames) {
        RouteTrace trace(QStringLiteral("D:"));
        trace.navigate(QString::fromUtf8(row.url));
        QCOMPARE(trace.router().PageName(), QString::fromUtf8(row.name));
        // Rules before the page name leave it alone.
        trace.navigate(QStringLiteral("D:\\lex2000\\VOLTA"));
        QCOMPARE(trace.router().PageName(), QString::fromUtf8(row.name));
    }
}

void RouterTest::ownTargetsStayBounded() {
    RouteTrace trace(QStringLiteral("D:"));
    for (int i = 0; i < 200; ++i) {
        trace.navigate(QStringLiteral("D:\\l\\atlast\\main.htm"));
        trace.navigate(QStringLiteral("D:\\l\\crono.htm"));
    }
    QVERIFY(trace.router().ownTargetCount() <= Router::kMaxOwnTargets);
}

QTEST_GUILESS_MAIN(RouterTest)
#include "test_router.moc"
