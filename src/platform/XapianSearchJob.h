#pragma once

#include <map>
#include <memory>

#include "host/SearchEngine.h"
#include "platform/XapianIndexList.h"
#include "platform/XapianResultList.h"

namespace lumera {

// A search job. Settings are kept by dispatch id in whatever order they come;
// those read are 12 (the request), 6 (the index folder, a path as the program
// builds it), 10 (the index list file in that folder, "search.lst" when not
// given) and 21 (the callback object). The others tune an engine this one
// does not need to imitate: they are kept and ignored, whatever their value.
class XapianSearchJob : public SearchJob, public std::enable_shared_from_this<XapianSearchJob> {
  public:
    explicit XapianSearchJob(ProgramPathResolver resolveProgramPath);

    void Put(int id, const SettingValue& value) override;
    // 23 runs the search; any other id does nothing.
    void Invoke(int id) override;
    std::shared_ptr<ResultList> Results() override;
    QString failure() const override { return failure_; }

    // InstallPath and "search.lst" joined the way the program joins paths.
    static QString indexListPath(const QString& indexFolder, const QString& listFile);

  private:
    void execute();
    QString textSetting(int id) const;
    SearchCallbacks* callbacks() const;

    ProgramPathResolver resolveProgramPath_;
    std::map<int, SettingValue> settings_;
    std::shared_ptr<XapianResultList> results_ = std::make_shared<XapianResultList>();
    QString failure_;
    bool running_ = false;
};

}  // namespace lumera
