#include "SearchTestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>
#include <algorithm>
#include <future>
#include <utility>

#include "search/SearchDriver.h"
#include "searchengine/XapianIndexList.h"
#include "support/FileBytes.h"

namespace lumera::testing {

std::vector<IndexRecord> corpusRecords() {
    const QDir corpus(qEnvironmentVariable("LUMERA_TEST_DATA") +
                      QStringLiteral("/search_engine/corpus"));
    const QRegularExpression titleLine(QStringLiteral("<title>(.*)</title>"));
    std::vector<IndexRecord> records;
    QDirIterator files(corpus.path(), {QStringLiteral("*.htm")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString html = QString::fromUtf8(readBytes(path));
        records.push_back({QFileInfo(path).fileName(),
                           titleLine.match(html).captured(1).remove(u'\''), html,
                           QFileInfo(path).dir().dirName()});
    }
    std::sort(records.begin(), records.end(),
              [](const IndexRecord& a, const IndexRecord& b) { return a.key < b.key; });
    if (records.size() < 10)
        qFatal("the search corpus is missing under %s", qPrintable(corpus.path()));
    return records;
}

void installIndex(const QString& installDir, const std::vector<IndexRecord>& records,
                  IndexBuilder::Options options) {
    StagedIndex staged(installDir);
    if (staged.buildPath().isEmpty()) qFatal("%s", qPrintable(staged.error()));
    IndexBuilder builder(staged.buildPath(), options);
    // Each slice its run of the records, from a thread of its own.
    const auto slices = std::size_t(builder.slices());
    std::vector<std::future<void>> feeding;
    for (std::size_t slice = 0; slice < slices; ++slice) {
        feeding.push_back(std::async(std::launch::async, [&, slice] {
            for (std::size_t i = records.size() * slice / slices;
                 i < records.size() * (slice + 1) / slices; ++i) {
                builder.add(int(slice), records[i]);
            }
        }));
    }
    for (std::future<void>& run : feeding) run.get();
    builder.finish();
    if (!staged.install()) qFatal("%s", qPrintable(staged.error()));
}

void runLikeTheProgram(const std::shared_ptr<SearchJob>& job, const QString& request,
                       const QString& installPath, SearchCallbacks* callbacks) {
    // The engine of this one run: it hands the driver the given job.
    struct GivenJob : SearchEngine {
        std::shared_ptr<SearchJob> job;
        void Initialize() override {}
        std::shared_ptr<SearchJob> NewSearchJob() override { return std::exchange(job, nullptr); }
    } engine;
    engine.job = job;
    RecordingCallbacks none;
    SearchDriver().RunSearchJob(engine, request, installPath, callbacks ? *callbacks : none);
}

std::shared_ptr<SearchJob> runRequest(SearchEngineFactory& factory, const QString& request,
                                      const QString& installPath, SearchCallbacks* callbacks) {
    const auto job = factory.create()->NewSearchJob();
    runLikeTheProgram(job, request, installPath, callbacks);
    return job;
}

QStringList foundFiles(SearchEngineFactory& factory, const QString& request,
                       const QString& installPath) {
    const auto job = runRequest(factory, request, installPath);
    [&] { QVERIFY2(job->failure().isEmpty(), qPrintable(request)); }();
    return resultFileNames(*job->Results());
}

QStringList resultFileNames(ResultList& results) {
    QStringList names;
    for (int i = 0; i < results.Count(); ++i) {
        results.GetNthDoc(i);
        const QString path = results.DocDetailItem(QStringLiteral("_filename"));
        names << path.mid(path.lastIndexOf(u'\\') + 1);
    }
    names.sort();
    return names;
}

int RecordingCallbacks::count(const QString& prefix) const {
    return int(std::count_if(calls.begin(), calls.end(),
                             [&](const QString& call) { return call.startsWith(prefix); }));
}

}  // namespace lumera::testing
