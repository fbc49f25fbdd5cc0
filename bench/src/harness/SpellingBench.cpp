// Spellings: does a word typed in today's orthography, or in the other
// variant, find the article that holds the other spelling; and what does
// looking for the other spelling cost on the main edition?
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "Benches.h"
#include "searchengine/IndexBuilder.h"
#include "searchengine/XapianIndexFiles.h"
#include "searchengine/XapianQueryBuilder.h"
#include "searchengine/XapianTextFolding.h"

namespace lumera::bench {
namespace {

struct SpellingPair {
    QString kind;
    QString first;   // of 2002, or of Portugal
    QString second;  // of today, or of Brazil
};

std::vector<SpellingPair> readPairs(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read the spelling pairs");
    std::vector<SpellingPair> pairs;
    for (const QByteArray& line : in.readAll().split('\n')) {
        const QStringList fields = QString::fromUtf8(line).split(u'\t');
        if (fields.size() == 3 && !fields[0].startsWith(u'#'))
            pairs.push_back({fields[0], fields[1], fields[2]});
    }
    return pairs;
}

QString articleKey(std::size_t i) { return QStringLiteral("par%1.htm").arg(i); }

// An index of one article for each pair, holding one of its spellings in a
// sentence of its own.
QString buildIndex(const QTemporaryDir& dir, const std::vector<SpellingPair>& pairs,
                   bool holdFirst) {
    const QString path =
        dir.filePath(holdFirst ? QStringLiteral("first") : QStringLiteral("second"));
    IndexBuilder builder(path);
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const QString& word = holdFirst ? pairs[i].first : pairs[i].second;
        builder.add({articleKey(i), QStringLiteral("Artigo %1").arg(i),
                     QStringLiteral("<p>%1.</p>").arg(word), QStringLiteral("tomo98a")});
    }
    builder.finish();
    return path;
}

qint64 folderBytes(const QString& path) {
    qint64 bytes = 0;
    QDirIterator files(path, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) bytes += QFileInfo(files.next()).size();
    return bytes;
}

struct Tally {
    int queries = 0;
    int found = 0;
    int foundBefore = 0;  // without other spellings
    double extra = 0;
    int told = 0;  // queries whose other spelling the window names
};

// Types the other spelling of every pair against the index that holds one.
void typeAgainst(const QString& path, const std::vector<SpellingPair>& pairs, bool holdFirst,
                 std::map<QString, Tally>& tallies) {
    const IndexFiles index = IndexFiles::open(path);
    const WordLexicons lexicons{index.lexicon};
    XapianQueryBuilder queries(index.index, lexicons);
    const auto search = [&](const QString& typed, bool others) {
        queries.setOtherSpellings(others);
        Xapian::Enquire enquire(index.index);
        enquire.set_query(queries.build(typed));
        return enquire.get_mset(0, index.index.get_doccount());
    };
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const QString& typed = holdFirst ? pairs[i].second : pairs[i].first;
        const std::string expected = toUtf8(articleKey(i));
        const auto holdsExpected = [&](const Xapian::MSet& found) {
            for (auto it = found.begin(); it != found.end(); ++it) {
                if (toUtf8(index.table->path(*it)).ends_with(expected)) return true;
            }
            return false;
        };
        Tally& tally = tallies[pairs[i].kind];
        const Xapian::MSet found = search(typed, true);
        const bool hit = holdsExpected(found);
        tally.queries += 1;
        tally.found += hit;
        tally.extra += double(found.size()) - (hit ? 1 : 0);
        tally.told += !queries.searchedSpellings().isEmpty();
        tally.foundBefore += holdsExpected(search(typed, false));
        if (hit == (pairs[i].kind == u"guarda") &&
            qEnvironmentVariableIsSet("LUMERA_BENCH_MISSES")) {
            qInfo().noquote() << pairs[i].kind << typed << "->" << (hit ? "found" : "missed");
        }
    }
}

// Word and prefix queries of the main edition, and the pairs' spellings that
// it does not hold: the time to build and match each, without and with the
// other spellings.
void timeOnEdition(const BenchContext& context, const std::vector<SpellingPair>& pairs) {
    const IndexFiles index = IndexFiles::open(context.edition + QStringLiteral("/indice"));
    const WordLexicons lexicons{index.lexicon};
    XapianQueryBuilder queries(index.index, lexicons);
    std::map<QString, QStringList> byKind;
    QFile file(context.edition + QStringLiteral("/bench-queries.tsv"));
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("no bench-queries.tsv");
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QStringList fields = QString::fromUtf8(line).split(u'\t');
        if (fields.size() == 2 && (fields[0] == u"word" || fields[0] == u"prefix"))
            byKind[fields[0]] << fields[1];
    }
    for (const SpellingPair& pair : pairs) byKind[QStringLiteral("other spelling")] << pair.first;

    context.out << "\n### What looking for the other spellings costs, on this edition\n\n";
    Table table(context.out,
                {"queries", "count", "p95 without (ms)", "p95 with (ms)", "told another spelling"});
    for (const auto& [kind, texts] : byKind) {
        Samples without, with;
        int told = 0;
        for (const bool others : {false, true}) {
            queries.setOtherSpellings(others);
            for (const QString& text : texts) {
                const auto start = Clock::now();
                Xapian::Enquire enquire(index.index);
                enquire.set_query(queries.build(text));
                enquire.get_mset(0, 1000);
                (others ? with : without).add(millisecondsSince(start));
                told += others && !queries.searchedSpellings().isEmpty();
            }
        }
        table.row({kind, number(double(texts.size())), number(without.p95(), 2),
                   number(with.p95(), 2), number(double(told))});
        context.summary.put(QStringLiteral("spellings.") + QString(kind).replace(u' ', u'-') +
                                QStringLiteral(".p95"),
                            with.p95());
    }
}

}  // namespace

void benchSpellings(const BenchContext& context, const QString& pairFile) {
    const std::vector<SpellingPair> pairs = readPairs(pairFile);
    QTemporaryDir dir;
    std::map<QString, Tally> tallies;
    qint64 indexBytes = 0;
    for (const bool holdFirst : {true, false}) {
        const QString path = buildIndex(dir, pairs, holdFirst);
        indexBytes += folderBytes(path);
        typeAgainst(path, pairs, holdFirst, tallies);
    }
    context.out << "\n### Spellings of the agreement and of the two variants\n\n"
                << "Each of " << pairs.size() << " pairs of `bench/data/grafias-pares.tsv` "
                << "held by one article of an index of all pairs, and the other spelling "
                << "typed; both ways. Recall: the article found; extra: other articles "
                << "found. For the guard pairs (a pronounced consonant) the recall must be "
                << "0 %. The index is the same with and without the other spellings ("
                << number(double(indexBytes) / 1024.0, 0) << " KB for the two indexes): "
                << "they are looked for when searching.\n\n";
    Table table(context.out, {"kind", "queries (both ways)", "recall before", "recall now",
                              "extra results per query", "window names the spelling"});
    for (const auto& [kind, tally] : tallies) {
        const auto percent = [&](int n) {
            return number(100.0 * n / std::max(1, tally.queries), 1) + QStringLiteral(" %");
        };
        table.row({kind, number(double(tally.queries)), percent(tally.foundBefore),
                   percent(tally.found), number(tally.extra / std::max(1, tally.queries), 2),
                   percent(tally.told)});
        context.summary.put(QStringLiteral("spellings.recall.") + kind,
                            100.0 * tally.found / std::max(1, tally.queries));
    }
    timeOnEdition(context, pairs);
}

}  // namespace lumera::bench
