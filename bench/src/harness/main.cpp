// The benchmark harness: one measure per command, each printing a Markdown
// table; bench/run runs them and writes docs/PERFORMANCE.md.
//   lumera-bench MEASURE --edition DIR [--quick] [--summary FILE] [--jet FILE]
//                [--template FILE] [--indexer PROGRAM] [--cli PROGRAM]
//                [--words FILE] [--pairs FILE]
//   index-batches also: [--articles N] [--batches N,N...] [--slices N,N...]
//                [--preparers N]
//                [--kept terms|lexicon]
//   MEASURE: page | jet | index | export | index-batches | search | accents | spellings | lookup |
//   reader
#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#include "Benches.h"
#include "browser/DriveUrls.h"

using namespace lumera::bench;

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args.append(QString::fromLocal8Bit(argv[i]));
    if (args.size() == 4 && args[0] == u"reader-child") {
        lumera::driveurls::registerSchemes();
        QApplication app(argc, argv);
        return runReaderChild(args[1], args[2].toInt(), args[3]);
    }
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.isEmpty()) {
        err << "uso: lumera-bench page|jet|index|search|lookup|reader --edition PASTA ...\n";
        return 2;
    }
    const QString measure = args.takeFirst();
    QString edition, summary, jet, templateFile, indexer, cli, words, pairs;
    bool quick = false;
    IndexVariants variants;
    const auto numbers = [](const QString& list) {
        std::vector<int> values;
        for (const QString& value : list.split(u',')) values.push_back(value.toInt());
        return values;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == u"--quick") {
            quick = true;
            continue;
        }
        const QString value = i + 1 < args.size() ? args[++i] : QString();
        if (arg == u"--edition")
            edition = value;
        else if (arg == u"--summary")
            summary = value;
        else if (arg == u"--jet")
            jet = value;
        else if (arg == u"--template")
            templateFile = value;
        else if (arg == u"--indexer")
            indexer = value;
        else if (arg == u"--cli")
            cli = value;
        else if (arg == u"--words")
            words = value;
        else if (arg == u"--pairs")
            pairs = value;
        else if (arg == u"--articles")
            variants.articles = value.toInt();
        else if (arg == u"--batches")
            variants.batches = numbers(value);
        else if (arg == u"--slices")
            variants.slices = numbers(value);
        else if (arg == u"--preparers")
            variants.preparers = value.toInt();
        else if (arg == u"--kept" && (value == u"terms" || value == u"lexicon"))
            variants.kept = {value == u"terms" ? lumera::WrittenWordsKept::AsTerms
                                               : lumera::WrittenWordsKept::InLexicon};
        else {
            err << "lumera-bench: opção desconhecida " << arg << "\n";
            return 2;
        }
    }
    BenchContext context{edition, jet, templateFile, quick, out, Summary(summary)};
    try {
        if (measure == u"page")
            benchPageBuild(context);
        else if (measure == u"jet")
            benchJet(context);
        else if (measure == u"index")
            benchIndexing(context, indexer);
        else if (measure == u"export")
            benchExport(context, cli);
        else if (measure == u"index-batches")
            benchIndexBatches(context, quick ? IndexVariants{.articles = 1000} : variants);
        else if (measure == u"search")
            benchSearch(context);
        else if (measure == u"accents")
            benchAccents(context, words);
        else if (measure == u"spellings")
            benchSpellings(context, pairs);
        else if (measure == u"lookup")
            benchLookup(context);
        else if (measure == u"reader")
            benchReader(context, QCoreApplication::applicationFilePath());
        else {
            err << "lumera-bench: medida desconhecida " << measure << "\n";
            return 2;
        }
    } catch (const std::exception& error) {
        err << "lumera-bench: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
