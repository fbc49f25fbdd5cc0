#include "search/SearchDriver.h"

#include <algorithm>
#include <vector>

#include "search/ResultPaths.h"

namespace lumera {
namespace {

const QString kTitleDetail = QStringLiteral("_shortname");
const QString kPathDetail = QStringLiteral("_filename");

}  // namespace

void SearchDriver::RunSearchJob(SearchEngine& engine, const QString& request,
                                const QString& installPath, SearchCallbacks& callbacks) {
    SearchJob_.reset();
    SearchJob_ = engine.NewSearchJob();
    // Callbacks may process events that drop SearchJob; the run keeps its job.
    const std::shared_ptr<SearchJob> job = SearchJob_;
    if (!job) return;

    // The engine expects these settings in this order, with these value kinds.
    const SettingValue empty = EmptyValue{};
    const SettingValue zero = std::int16_t{0};
    const SettingValue yes{std::in_place_type<bool>, true};
    const std::pair<int, SettingValue> settings[] = {
        {JobId::kRequest, request},         {JobId::kReserved11, empty},
        {JobId::kReserved14, empty},        {JobId::kReserved8, zero},
        {JobId::kReserved15, empty},        {JobId::kReserved16, empty},
        {JobId::kReserved18, empty},        {JobId::kReserved17, empty},
        {JobId::kIndexFolder, installPath}, {JobId::kReserved5, empty},
        {JobId::kReserved3, empty},         {JobId::kIndexListFile, QStringLiteral("search.lst")},
        {JobId::kReserved9, yes},           {JobId::kReserved13, yes},
        {JobId::kReserved7, zero},          {JobId::kReserved26, zero},
        {JobId::kCallbacks, &callbacks},
    };
    for (const auto& [id, value] : settings) job->Put(id, value);
    job->Invoke(JobId::kExecute);
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
