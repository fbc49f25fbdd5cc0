#include "SearchTestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>
#include <algorithm>

#include "platform/XapianIndexList.h"

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
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(path));
        const QString html = QString::fromUtf8(file.readAll());
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

void installIndex(const QString& installDir, const std::vector<IndexRecord>& records) {
    StagedIndex staged(installDir);
    if (staged.buildPath().isEmpty()) qFatal("%s", qPrintable(staged.error()));
    IndexBuilder builder(staged.buildPath());
    for (const IndexRecord& record : records) builder.add(record);
    builder.finish();
    if (!staged.install()) qFatal("%s", qPrintable(staged.error()));
}

void runLikeTheProgram(SearchJob& job, const QString& request, const QString& installPath,
                       SearchCallbacks* callbacks) {
    const EmptyValue empty;
    job.Put(12, request);
    job.Put(11, empty);
    job.Put(14, empty);
    job.Put(8, std::int16_t(0));
    job.Put(15, empty);
    job.Put(16, empty);
    job.Put(18, empty);
    job.Put(17, empty);
    job.Put(6, installPath);
    job.Put(5, empty);
    job.Put(3, empty);
    job.Put(10, QStringLiteral("search.lst"));
    job.Put(9, true);
    job.Put(13, true);
    job.Put(7, std::int16_t(0));
    job.Put(26, std::int16_t(0));
    job.Put(21, callbacks);
    job.Invoke(23);
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
