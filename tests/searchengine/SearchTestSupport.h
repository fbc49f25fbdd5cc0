#pragma once
// Builds real indexes from the Portuguese test corpus and records what a
// search run reports.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "host/SearchEngine.h"
#include "searchengine/IndexBuilder.h"

namespace lumera::testing {

// The articles under tests/data/search_engine/corpus/<folder>/<key>.htm; the
// title is the text of the <title> line.
std::vector<IndexRecord> corpusRecords();

// Builds an index of records in installDir the way the indexer installs it:
// the folder "indice" and a "search.lst" that names it.
void installIndex(const QString& installDir, const std::vector<IndexRecord>& records,
                  IndexBuilder::Options options = {});

// Runs the job as the program does: through its search driver, which makes
// the request.
void runLikeTheProgram(const std::shared_ptr<SearchJob>& job, const QString& request,
                       const QString& installPath, SearchCallbacks* callbacks);

// A job of a new engine of factory, run as the program runs it.
std::shared_ptr<SearchJob> runRequest(SearchEngineFactory& factory, const QString& request,
                                      const QString& installPath,
                                      SearchCallbacks* callbacks = nullptr);
// The file names found; on a sound index no request fails, not even one that
// finds nothing or that is no query at all.
QStringList foundFiles(SearchEngineFactory& factory, const QString& request,
                       const QString& installPath);

// The file names (the part after the last "\") of every result, sorted.
QStringList resultFileNames(ResultList& results);

class RecordingCallbacks : public SearchCallbacks {
  public:
    QStringList calls;  // in order: "Searching <what>", "Found <what>", "CheckForAbort", ...
    int abortChecks = 0;
    // The answer of the n-th CheckForAbort (1-based); 0 when not given.
    std::function<int(int n)> abortAnswer;
    std::function<void()> onFound;

    void ReceiveSearching(const QString& what) override {
        calls << QStringLiteral("Searching ") + what;
    }
    void ReceiveFound(QStringView what, std::int32_t) override {
        calls << QStringLiteral("Found ") + what.toString();
        if (onFound) onFound();
    }
    std::int32_t CheckForAbort() override {
        calls << QStringLiteral("CheckForAbort");
        ++abortChecks;
        return abortAnswer ? abortAnswer(abortChecks) : 0;
    }
    int count(const QString& prefix) const;
};

}  // namespace lumera::testing
