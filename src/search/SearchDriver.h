#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "host/SearchEngine.h"
#include "search/ListControl.h"

namespace lumera {

// The three parallel lists of the search window that results are listed in.
struct ResultLists {
    ListControl& FoundList;  // titles, sorted
    ListControl& List1;      // file names, in listing order
    ListControl& List2;      // folder names, sorted
};

// The program's side of a search: runs jobs on the engine and lists their
// results. It outlives the search window, because the job of the last run
// does.
class SearchDriver {
  public:
    // Replaces SearchJob with a new job of engine and runs it on the index
    // list in installPath; returns when the run is complete. The callbacks
    // arrive during the call. Exceptions of the engine pass through,
    // SearchJob then holds whatever job was made (or none).
    void RunSearchJob(SearchEngine& engine, const QString& request, const QString& installPath,
                      SearchCallbacks& callbacks);

    // Appends the documents of SearchJob's result list to the three lists,
    // each with ItemData = its position in List1. With a folder, only the
    // documents whose path contains it (exact case). Entries made before an
    // exception of the result list stay listed.
    void ListResults(const ResultLists& lists, const std::optional<QString>& folder) const;

    // Count of SearchJob's result list; 0 without a job or a list.
    int ResultCount() const;
    // Why SearchJob's run could not search, for the reader; empty when it did.
    QString SearchFailure() const { return SearchJob_ ? SearchJob_->failure() : QString(); }
    // The spellings SearchJob's run searched besides the typed ones.
    QStringList OtherSpellings() const {
        return SearchJob_ ? SearchJob_->otherSpellings() : QStringList();
    }
    // No job, as before the first run.
    void ForgetJob() { SearchJob_.reset(); }
    bool HasJob() const { return SearchJob_ != nullptr; }

  private:
    std::shared_ptr<ResultList> results() const;

    std::shared_ptr<SearchJob> SearchJob_;
};

}  // namespace lumera
