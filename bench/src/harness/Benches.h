#pragma once

#include <QString>
#include <QTextStream>
#include <vector>

#include "Measure.h"
#include "searchengine/XapianWrittenWords.h"

namespace lumera::bench {

// What every measure is given: the edition folder (lex.ini, lex.mdb, index,
// cd/), how hard to try, and where to leave the figures for the growth table.
struct BenchContext {
    QString edition;
    QString jetFixture;  // a Jet lex.mdb, for the page build on Jet
    QString templateFile;
    bool quick = false;
    QTextStream& out;
    Summary summary;
};

// A Jet copy of an edition that bench/run made beside its SQLite lex.mdb.
struct JetEdition {
    QString engine;  // as the tables name it
    QString folder;
    QString label;  // of the summary keys
};
// Those of the edition's copies (folders jet/ and jet-index/) that exist.
std::vector<JetEdition> jetEditions(const QString& edition);

void benchPageBuild(const BenchContext& context);
// Jet copies of the edition: the key lookup's first build and size, and
// reading every article as lumera-index does, against the SQLite edition.
void benchJet(const BenchContext& context);
void benchIndexing(const BenchContext& context, const QString& indexerProgram);
// lumera-cli export --zim on the edition: time, peak memory, the file's size.
void benchExport(const BenchContext& context, const QString& cliProgram);
struct IndexVariants {
    int articles = 5000;
    std::vector<WrittenWordsKept> kept = {WrittenWordsKept::AsTerms, WrittenWordsKept::InLexicon};
    std::vector<int> batches = {250, 500, 1000, 2500};  // 0: one commit
    std::vector<int> slices = {1};
    int preparers = 1;  // in each slice
};
void benchIndexBatches(const BenchContext& context, const IndexVariants& variants);
void benchSearch(const BenchContext& context);
void benchAccents(const BenchContext& context, const QString& wordList);
// Spellings of the agreement and of the two variants (pairFile), and what
// looking for them costs on the edition.
void benchSpellings(const BenchContext& context, const QString& pairFile);
void benchLookup(const BenchContext& context);
void benchReader(const BenchContext& context, const QString& selfProgram);
// The reader process the reader measure times (started by benchReader).
// cd: the folder or the disc image drive D: is mapped to.
int runReaderChild(const QString& edition, int clicks, const QString& cd);

}  // namespace lumera::bench
