// Indexing: lumera-index against FTS5 over the same article texts.
#include <sys/resource.h>

#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <future>

#include "Benches.h"
#include "Fts5.h"
#include "database/ArticleDatabaseFiles.h"
#include "searchengine/HtmlText.h"
#include "searchengine/IndexBuilder.h"

namespace lumera::bench {
namespace {

qint64 folderBytes(const QString& folder) {
    qint64 total = 0;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        total += it.fileInfo().size();
    }
    return total;
}

// Processor seconds (user and system) of this process or of its waited-for children.
double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The peak resident memory of a running process so far, in MB; 0 once it is gone.
double peakMegabytes(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return 0;
}

struct Rate {
    double cpu = 0;
    double seconds = 0;
    double peakMb = 0;
    int articles = 0;
    double megabytes = 0;
    double perSecond() const { return seconds > 0 ? articles / seconds : 0; }
    double mbPerSecond() const { return seconds > 0 ? megabytes / seconds : 0; }
};

}  // namespace

void benchIndexing(const BenchContext& context, const QString& indexerProgram) {
    // What both index: every article's text; its size is the text column's.
    Rate text;
    const QString database = context.edition + QStringLiteral("/lex.mdb");
    ArticleDatabaseFiles::openFile(database)->forEachArticle([&](const ArticleRow& row) {
        ++text.articles;
        text.megabytes += double(row.verbete.toUtf8().size()) / 1e6;
        return true;
    });

    // One slice, then one per core (the default): what the slices bring.
    const auto runIndexer = [&](int threads) {
        Rate rate = text;
        QProcess indexer;
        indexer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const auto start = Clock::now();
        const double cpuBefore = cpuSeconds(RUSAGE_CHILDREN);
        indexer.start(indexerProgram,
                      {QStringLiteral("-C"), context.edition, QStringLiteral("--drive"),
                       QStringLiteral("D:=") + context.edition + QStringLiteral("/cd"),
                       QStringLiteral("--threads"), QString::number(threads)});
        // Read until the process ends: its last reading is its peak.
        const qint64 pid = indexer.processId();
        while (!indexer.waitForFinished(50))
            rate.peakMb = std::max(rate.peakMb, peakMegabytes(pid));
        rate.seconds = millisecondsSince(start) / 1000.0;
        rate.cpu = cpuSeconds(RUSAGE_CHILDREN) - cpuBefore;
        if (indexer.exitCode() != 0) throw std::runtime_error("lumera-index failed");
        return rate;
    };
    const int cores = std::max(1, QThread::idealThreadCount());
    const Rate single = runIndexer(1);
    const Rate ours = cores > 1 ? runIndexer(cores) : single;
    const qint64 ourBytes = folderBytes(context.edition + QStringLiteral("/indice"));

    // The peer reads the same rows and takes the same readable text out of
    // the HTML, then indexes it: only the indexing differs.
    Rate peer = text;
    Rate extraction = text;
    const QString ftsFile = context.edition + QStringLiteral("/bench-fts5.db");
    {
        const auto start = Clock::now();
        const double cpuBefore = cpuSeconds(RUSAGE_SELF);
        ArticleDatabaseFiles::openFile(database)->forEachArticle([&](const ArticleRow& row) {
            HtmlText::plainText(row.verbete);
            return true;
        });
        extraction.seconds = millisecondsSince(start) / 1000.0;
        extraction.cpu = cpuSeconds(RUSAGE_SELF) - cpuBefore;
    }
    {
        const auto start = Clock::now();
        const double cpuBefore = cpuSeconds(RUSAGE_SELF);
        Fts5Index fts(ftsFile, true);
        fts.begin();
        ArticleDatabaseFiles::openFile(database)->forEachArticle([&](const ArticleRow& row) {
            fts.add(row.arquivo, row.titulo, HtmlText::plainText(row.verbete));
            return true;
        });
        fts.commit();
        peer.seconds = millisecondsSince(start) / 1000.0;
        peer.cpu = cpuSeconds(RUSAGE_SELF) - cpuBefore;
    }
    const qint64 peerBytes = QFileInfo(ftsFile).size();

    context.out << "\n### Indexing\n\n";
    Table table(context.out,
                {"indexer", "articles", "text MB", "seconds", "CPU seconds", "articles/s", "MB/s",
                 "index MB", "peak memory MB", "ours ÷ peer (rate)"});
    const QString none = QStringLiteral("–");
    table.row({QStringLiteral("lumera-index (Xapian), 1 thread"), number(single.articles),
               number(single.megabytes, 1), number(single.seconds, 1), number(single.cpu, 1),
               number(single.perSecond()), number(single.mbPerSecond(), 2), none,
               number(single.peakMb), ratio(single.perSecond(), peer.perSecond())});
    table.row({QStringLiteral("lumera-index (Xapian), %1 threads").arg(cores),
               number(ours.articles), number(ours.megabytes, 1), number(ours.seconds, 1),
               number(ours.cpu, 1), number(ours.perSecond()), number(ours.mbPerSecond(), 2),
               number(double(ourBytes) / 1e6, 1), number(ours.peakMb),
               ratio(ours.perSecond(), peer.perSecond())});
    table.row({QStringLiteral("SQLite FTS5 (unicode61 remove_diacritics 2)"), number(peer.articles),
               number(peer.megabytes, 1), number(peer.seconds, 1), number(peer.cpu, 1),
               number(peer.perSecond()), number(peer.mbPerSecond(), 2),
               number(double(peerBytes) / 1e6, 1), none, QStringLiteral("1.00×")});
    table.row({QStringLiteral("(of which: reading rows + HTML to text, both)"),
               number(extraction.articles), number(extraction.megabytes, 1),
               number(extraction.seconds, 1), number(extraction.cpu, 1),
               number(extraction.perSecond()), number(extraction.mbPerSecond(), 2), none, none,
               none});
    context.out << "\nlumera-index is timed as a whole process (reading lex.mdb, HTML to text, "
                   "folding, stems, positions, synonyms, writing and installing the index). "
                   "FTS5 is timed from the same rows through the same HTML-to-text step, in one "
                   "transaction, with the journal off. Rates are of wall-clock time; the CPU "
                   "seconds show how much of the machine each got; peak memory is the indexer's "
                   "resident set at its largest. lumera-index with N threads builds N slices "
                   "of the index side by side, each from its own run of rows, on a thread that "
                   "prepares its documents and one that adds them to Xapian, and merges them.\n";
    context.summary.put(QStringLiteral("index.seconds"), ours.seconds);
    context.summary.put(QStringLiteral("index.cpu"), ours.cpu);
    context.summary.put(QStringLiteral("index.mb"), double(ourBytes) / 1e6);
    context.summary.put(QStringLiteral("index.peak.mb"), ours.peakMb);
    context.summary.put(QStringLiteral("fts5.seconds"), peer.seconds);
    context.summary.put(QStringLiteral("fts5.mb"), double(peerBytes) / 1e6);
}

}  // namespace lumera::bench

namespace lumera::bench {

// The indexer's build in this process on the first articles, in variants:
// how the words as written are kept, documents per commit, slices built side
// by side (each fed by a thread of its own, as lumera-index feeds them).
void benchIndexBatches(const BenchContext& context, const IndexVariants& variants) {
    std::vector<IndexRecord> records;
    ArticleDatabaseFiles::openFile(context.edition + QStringLiteral("/lex.mdb"))
        ->forEachArticle([&](const ArticleRow& row) {
            records.push_back({row.arquivo, row.titulo, row.verbete, QStringLiteral("tomo98a")});
            return int(records.size()) < variants.articles;
        });
    context.out << "\n### Index variants (in process, " << records.size() << " articles)\n\n";
    Table table(context.out, {"words as written", "documents per commit", "slices", "seconds",
                              "CPU seconds", "finishing s / CPU s", "index MB",
                              "of which postings / positions MB", "articles/s"});
    const auto megabytes = [](const QString& file) {
        return number(double(QFileInfo(file).size()) / 1e6, 1);
    };
    for (const WrittenWordsKept kept : variants.kept) {
        for (const int batch : variants.batches) {
            for (const int slices : variants.slices) {
                QTemporaryDir dir;
                const QString path = dir.filePath(QStringLiteral("indice"));
                IndexBuilder::Options options;
                options.commitEvery = batch;
                options.written = kept;
                options.preparers = variants.preparers;
                options.slices = slices;
                const auto start = Clock::now();
                const double cpuBefore = cpuSeconds(RUSAGE_SELF);
                IndexBuilder builder(path, options);
                std::vector<std::future<void>> feeding;
                for (int slice = 0; slice < slices; ++slice) {
                    feeding.push_back(std::async(std::launch::async, [&, slice] {
                        const std::size_t first = records.size() * std::size_t(slice) / slices;
                        const std::size_t end = records.size() * std::size_t(slice + 1) / slices;
                        for (std::size_t i = first; i < end; ++i) builder.add(slice, records[i]);
                    }));
                }
                for (std::future<void>& slice : feeding) slice.get();
                const auto finishing = Clock::now();
                const double cpuFinishing = cpuSeconds(RUSAGE_SELF);
                builder.finish();
                const double seconds = millisecondsSince(start) / 1000.0;
                const double cpu = cpuSeconds(RUSAGE_SELF) - cpuBefore;
                const QString finish = number(millisecondsSince(finishing) / 1000.0, 1) +
                                       QStringLiteral(" / ") +
                                       number(cpuSeconds(RUSAGE_SELF) - cpuFinishing, 1);
                table.row({kept == WrittenWordsKept::AsTerms ? QStringLiteral("terms")
                                                             : QStringLiteral("lexicon"),
                           batch == 0 ? QStringLiteral("all (one commit)") : number(batch),
                           number(slices), number(seconds, 1), number(cpu, 1), finish,
                           number(double(folderBytes(path)) / 1e6, 1),
                           megabytes(path + QStringLiteral("/postlist.glass")) +
                               QStringLiteral(" / ") +
                               megabytes(path + QStringLiteral("/position.glass")),
                           number(double(records.size()) / seconds)});
            }
        }
    }
}

}  // namespace lumera::bench
