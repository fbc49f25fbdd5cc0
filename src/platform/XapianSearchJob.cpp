#include "platform/XapianSearchJob.h"

#include <QScopeGuard>

#include "platform/XapianDocumentFormat.h"
#include "platform/XapianLog.h"
#include "platform/XapianSearchRun.h"

namespace lumera {

XapianSearchJob::XapianSearchJob(ProgramPathResolver resolveProgramPath)
    : resolveProgramPath_(std::move(resolveProgramPath)) {}

void XapianSearchJob::Put(int id, const SettingValue& value) { settings_[id] = value; }

void XapianSearchJob::Invoke(int id) {
    if (id != JobId::kExecute) {
        qCDebug(lcSearch) << "job call" << id << "ignored";
        return;
    }
    if (running_) {
        qCWarning(lcSearch) << "a job cannot run again inside its own run";
        return;
    }
    // The callbacks let window events run, and one of them may drop the
    // program's last reference to this job.
    const auto keepAlive = weak_from_this().lock();
    running_ = true;
    const auto notRunningAfterwards = qScopeGuard([this] { running_ = false; });
    execute();
}

std::shared_ptr<ResultList> XapianSearchJob::Results() { return results_; }

QString XapianSearchJob::indexListPath(const QString& indexFolder, const QString& listFile) {
    if (indexFolder.isEmpty()) return listFile;
    if (indexFolder.endsWith(u'\\') || indexFolder.endsWith(u'/')) return indexFolder + listFile;
    const QChar separator = indexFolder.contains(u'\\') ? u'\\' : u'/';
    return indexFolder + separator + listFile;
}

void XapianSearchJob::execute() {
    results_ = std::make_shared<XapianResultList>();
    const QString indexFolder = textSetting(JobId::kIndexFolder);
    QString listFile = textSetting(JobId::kIndexListFile);
    if (listFile.isEmpty()) listFile = indexformat::kIndexListFile;

    // Without a folder there is no list to read, not even one in the current directory.
    const QString listPath =
        indexFolder.isEmpty() ? QString() : indexListPath(indexFolder, listFile);
    failure_.clear();
    XapianSearchRun run(callbacks(), resolveProgramPath_);
    results_ = run.run(textSetting(JobId::kRequest), listPath);
    failure_ = run.failure();
}

QString XapianSearchJob::textSetting(int id) const {
    const auto it = settings_.find(id);
    if (it == settings_.end()) return QString();
    const QString* text = std::get_if<QString>(&it->second);
    return text ? *text : QString();
}

SearchCallbacks* XapianSearchJob::callbacks() const {
    const auto it = settings_.find(JobId::kCallbacks);
    if (it == settings_.end()) return nullptr;
    SearchCallbacks* const* callbacks = std::get_if<SearchCallbacks*>(&it->second);
    return callbacks ? *callbacks : nullptr;
}

}  // namespace lumera
