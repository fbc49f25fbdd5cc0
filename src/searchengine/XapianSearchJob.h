#pragma once

#include <memory>

#include "host/SearchEngine.h"
#include "searchengine/XapianIndexList.h"
#include "searchengine/XapianResultList.h"

namespace lumera {

// A search job: each run searches the indexes that the request's list file
// (in the index folder, a path as the program builds it) names.
class XapianSearchJob : public SearchJob, public std::enable_shared_from_this<XapianSearchJob> {
  public:
    explicit XapianSearchJob(ProgramPathResolver resolveProgramPath);

    // A run asked for from within a run of the same job does nothing.
    void run(const SearchRequest& request, SearchCallbacks& callbacks) override;
    std::shared_ptr<ResultList> Results() override;
    QString failure() const override { return failure_; }
    QStringList otherSpellings() const override { return otherSpellings_; }

    // InstallPath and "search.lst" joined the way the program joins paths.
    static QString indexListPath(const QString& indexFolder, const QString& listFile);

  private:
    void execute(const SearchRequest& request, SearchCallbacks& callbacks);

    ProgramPathResolver resolveProgramPath_;
    std::shared_ptr<XapianResultList> results_ = std::make_shared<XapianResultList>();
    QString failure_;
    QStringList otherSpellings_;
    bool running_ = false;
};

}  // namespace lumera
