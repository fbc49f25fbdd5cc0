// Search: the search job against FTS5 on the same queries, and the lookup
// end to end through the headless search window.
#include <QDir>
#include <QFile>
#include <map>

#include "Benches.h"
#include "Fts5.h"
#include "articles/ArticlePageBuilder.h"
#include "headless/HeadlessWindowSystem.h"
#include "host/ReaderState.h"
#include "search/SearchController.h"
#include "search/SearchWindowModel.h"
#include "searchengine/XapianDetailsTable.h"
#include "searchengine/XapianIndexFiles.h"
#include "searchengine/XapianQueryBuilder.h"
#include "searchengine/XapianSearchEngine.h"
#include "searchengine/XapianTextFolding.h"

namespace lumera::bench {
namespace {

class CountingCallbacks : public SearchCallbacks {
  public:
    int found = 0;
    void ReceiveSearching(const QString&) override {}
    void ReceiveFound(QStringView, std::int32_t) override { ++found; }
    std::int32_t CheckForAbort() override { return 0; }
};

struct Query {
    QString kind;
    QString text;
};

std::vector<Query> readQueries(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) throw std::runtime_error("no bench-queries.tsv");
    std::vector<Query> queries;
    for (const QByteArray& line : in.readAll().split('\n')) {
        const QString text = QString::fromUtf8(line);
        const qsizetype tab = text.indexOf(u'\t');
        if (tab > 0) queries.push_back({text.left(tab), text.mid(tab + 1)});
    }
    return queries;
}

QString installPath(const QString& edition) { return QDir(edition).absolutePath() + u'/'; }

// One search job as the driver runs it; the number of documents listed.
int runJob(SearchEngine& engine, const QString& install, const QString& request) {
    CountingCallbacks callbacks;
    const auto job = engine.NewSearchJob();
    job->run({request, install, QStringLiteral("search.lst")}, callbacks);
    return job->Results()->Count();
}

}  // namespace

void benchResultReading(const BenchContext& context, const std::vector<Query>& queries);

void benchSearch(const BenchContext& context) {
    const std::vector<Query> queries =
        readQueries(context.edition + QStringLiteral("/bench-queries.tsv"));
    XapianSearchEngineFactory engines;
    const auto engine = engines.create();
    engine->Initialize();
    const QString install = installPath(context.edition);
    Fts5Index fts(context.edition + QStringLiteral("/bench-fts5.db"), false);

    // One untimed pass over a part of the set brings both indexes into the cache.
    for (std::size_t i = 0; i < queries.size(); i += 4) {
        runJob(*engine, install, queries[i].text);
        fts.search(fts5Query(queries[i].kind, queries[i].text));
    }
    struct Figures {
        Samples ours, peer;
        double ourHits = 0, peerHits = 0;
        int count = 0;
    };
    std::map<QString, Figures> byKind;
    Samples allOurs;
    for (const Query& query : queries) {
        Figures& f = byKind[query.kind];
        auto start = Clock::now();
        f.ourHits += runJob(*engine, install, query.text);
        const double ours = millisecondsSince(start);
        f.ours.add(ours);
        allOurs.add(ours);
        start = Clock::now();
        f.peerHits += fts.search(fts5Query(query.kind, query.text));
        f.peer.add(millisecondsSince(start));
        ++f.count;
    }

    context.out << "\n### Search job latency\n\n";
    Table table(context.out, {"queries", "n", "ours p50", "ours p95", "FTS5 p50", "FTS5 p95",
                              "ours ÷ FTS5 (p50)", "ours ÷ FTS5 (p95)", "mean results ours",
                              "mean results FTS5"});
    for (const QString& kind : QStringList{"word", "and", "phrase", "prefix"}) {
        const Figures& f = byKind[kind];
        if (f.count == 0) continue;
        table.row({kind == u"and" ? QStringLiteral("2 words (AND)") : kind, number(f.count),
                   ms(f.ours.median()), ms(f.ours.p95()), ms(f.peer.median()), ms(f.peer.p95()),
                   ratio(f.ours.median(), f.peer.median()), ratio(f.ours.p95(), f.peer.p95()),
                   number(f.ourHits / f.count), number(f.peerHits / f.count)});
        context.summary.put(QStringLiteral("search.") + kind + QStringLiteral(".p95"),
                            f.ours.p95());
    }
    context.summary.put(QStringLiteral("search.all.p95"), allOurs.p95());
    context.out << "\nTimes in ms, warm cache. Ours is a whole search job (open the index list "
                   "and index, parse, fold, stem and expand the query, match every document, "
                   "read each one's title and path, one callback per document). FTS5 is "
                   "a contentless FTS5 table joined to a table of keys and titles, `... MATCH ? "
                   "ORDER BY rank` read to the last row. Queries: "
                   "words of frequency ranks 100 to 30,000 drawn log-uniformly, pairs of them, "
                   "2–3-word phrases taken from the articles, 4–5-letter prefixes. Ours also "
                   "finds stems and accent-folded synonyms, which FTS5 does not, hence more "
                   "results.\n";
    benchResultReading(context, queries);
}

// What reading a result's title and path costs: from the document's data, as
// every search did before the details table, and from the table. An index of
// words in a lexicon keeps no data in its documents.
void benchResultReading(const BenchContext& context, const std::vector<Query>& queries) {
    const IndexFiles files = IndexFiles::open(context.edition + QStringLiteral("/indice"));
    const Xapian::Database& index = files.index;
    const auto& table = files.table;
    if (!table) throw std::runtime_error("the index has no details table");
    const WordLexicons lexicons{files.lexicon};
    const bool documentData = !files.lexicon;
    double fromDocuments = 0;
    double fromTable = 0;
    std::size_t results = 0;
    std::size_t characters = 0;
    for (const Query& query : queries) {
        if (query.kind != u"word" && query.kind != u"prefix") continue;
        Xapian::Enquire enquire(index);
        enquire.set_query(XapianQueryBuilder(index, lexicons).build(query.text));
        const Xapian::MSet found = enquire.get_mset(0, index.get_doccount());
        auto start = Clock::now();
        for (auto it = found.begin(); documentData && it != found.end(); ++it) {
            characters += decodeDetails(it.get_document().get_data()).path.size();
        }
        fromDocuments += millisecondsSince(start);
        start = Clock::now();
        for (auto it = found.begin(); it != found.end(); ++it) {
            characters += std::size_t(table->title(*it).size() + table->path(*it).size());
        }
        fromTable += millisecondsSince(start);
        results += found.size();
    }
    const double perResult = 1000.0 / double(std::max<std::size_t>(1, results));
    context.out << "\n### Reading each result's title and path\n\n";
    Table reading(context.out, {"from", "results", "µs per result"});
    reading.row({QStringLiteral("the document's data (decoded)"), number(double(results)),
                 documentData ? number(fromDocuments * perResult, 3)
                              : QStringLiteral("– (no data in the documents)")});
    reading.row({QStringLiteral("the details table"), number(double(results)),
                 number(fromTable * perResult, 3)});
    context.out << "\nOver the word and prefix queries above, after their match.\n";
    // Used, so that the reads are not optimised away.
    if (characters == 0) context.out << "(no result had a title or a path)\n";
}

void benchLookup(const BenchContext& context) {
    ReaderState state;
    state.InstallPath = installPath(context.edition);
    state.CdRomPath = QStringLiteral("D:");
    XapianSearchEngineFactory engines;
    state.engine = engines.create();
    state.engine->Initialize();
    HeadlessWindowSystem windows;
    HeadlessSearchWindowFactory views;
    SearchController search(state, {windows, views, [](QString&) {}, [] {}});

    context.out << "\n### Title lookup end to end (headless search window)\n\n";
    Table table(context.out,
                {"request", "results (FoundList)", "Combo1 entries", "runs", "median", "max"});
    const int runs = context.quick ? 3 : 5;
    for (const QString& word : QStringList{"astrolábio", "patrimônio", "enciclopédia"}) {
        Samples times;
        int found = 0, folders = 0;
        for (int run = 0; run < runs; ++run) {
            const auto start = Clock::now();
            search.LookUpArticleTitle(word);
            times.add(millisecondsSince(start));
            found = search.window()->FoundList().ListCount();
            folders = search.window()->Combo1().ListCount();
        }
        table.row({word, number(found), number(folders), number(runs), ms(times.median()),
                   ms(times.quantile(1.0))});
        context.summary.put(QStringLiteral("lookup.") + QString::number(found), times.median());
    }
    context.out << "\nTimes in ms: `LookUpArticleTitle` from the request to the three result "
                   "lists and Combo1 filled. The words are planted in 1 %, 10 % and 100 % of "
                   "the articles.\n";
}

}  // namespace lumera::bench
