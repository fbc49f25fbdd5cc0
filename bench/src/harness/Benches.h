#pragma once

#include <QString>
#include <QTextStream>

#include "Measure.h"

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

void benchPageBuild(const BenchContext& context);
void benchIndexing(const BenchContext& context, const QString& indexerProgram);
void benchIndexBatches(const BenchContext& context, int articles);
void benchSearch(const BenchContext& context);
void benchAccents(const BenchContext& context, const QString& wordList);
void benchLookup(const BenchContext& context);
void benchReader(const BenchContext& context, const QString& selfProgram);
// The reader process the reader measure times (started by benchReader).
// cd: the folder or the disc image drive D: is mapped to.
int runReaderChild(const QString& edition, int clicks, const QString& cd);

}  // namespace lumera::bench
