#include "search/SearchDriver.h"

#include <algorithm>
#include <vector>

#include "search/ResultPaths.h"

namespace lumera {
namespace {

const QString kTitleDetail = QStringLiteral("_shortname");
const QString kPathDetail = QStringLiteral("_filename");
// The program's list of indexes, in its installation folder.
const QString kIndexListFile = QStringLiteral("search.lst");

}  // namespace

void SearchDriver::RunSearchJob(SearchEngine& engine, const QString& request,
                                const QString& installPath, SearchCallbacks& callbacks) {
    SearchJob_.reset();
    SearchJob_ = engine.NewSearchJob();
    // Callbacks may process events that drop SearchJob; the run keeps its job.
    const std::shared_ptr<SearchJob> job = SearchJob_;
    if (!job) return;
    job->run({request, installPath, kIndexListFile}, callbacks);
}

std::shared_ptr<ResultList> SearchDriver::results() const {
    return SearchJob_ ? SearchJob_->Results() : nullptr;
}

int SearchDriver::ResultCount() const {
    const std::shared_ptr<ResultList> list = results();
    return list ? list->Count() : 0;
}

void SearchDriver::ListResults(const ResultLists& lists,
                               const std::optional<QString>& folder) const {
    const std::shared_ptr<ResultList> list = results();
    if (!list) return;

    std::vector<ListEntry> titles;
    std::vector<ListEntry> fileNames;
    std::vector<ListEntry> folderNames;
    // Whatever was read before a failing call is listed all the same.
    const auto addToLists = [&] {
        lists.List1.AddItems(std::move(fileNames));
        lists.FoundList.AddItems(std::move(titles));
        lists.List2.AddItems(std::move(folderNames));
    };
    try {
        const int count = list->Count();
        for (auto* entries : {&titles, &fileNames, &folderNames}) {
            entries->reserve(static_cast<std::size_t>(std::max(count, 0)));
        }
        int k = 0;
        for (int i = 0; i < count; ++i) {
            list->GetNthDoc(i);
            QString title = list->DocDetailItem(kTitleDetail);
            const QString path = list->DocDetailItem(kPathDetail);
            if (folder && !path.contains(*folder, Qt::CaseSensitive)) continue;
            QString fileName = ResultFileName(path);
            QString folderName = ResultFolderName(path, fileName);
            fileNames.push_back({std::move(fileName), k});
            titles.push_back({std::move(title), k});
            folderNames.push_back({std::move(folderName), k});
            ++k;
        }
    } catch (...) {
        addToLists();
        throw;
    }
    addToLists();
}

}  // namespace lumera
