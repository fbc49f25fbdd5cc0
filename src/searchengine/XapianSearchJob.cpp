#include "searchengine/XapianSearchJob.h"

#include <QScopeGuard>

#include "searchengine/XapianDocumentFormat.h"
#include "searchengine/XapianLog.h"
#include "searchengine/XapianSearchRun.h"

namespace lumera {

XapianSearchJob::XapianSearchJob(ProgramPathResolver resolveProgramPath)
    : resolveProgramPath_(std::move(resolveProgramPath)) {}

void XapianSearchJob::run(const SearchRequest& request, SearchCallbacks& callbacks) {
    if (running_) {
        qCWarning(lcSearch) << "a job cannot run again inside its own run";
        return;
    }
    // The callbacks let window events run, and one of them may drop the
    // program's last reference to this job.
    const auto keepAlive = weak_from_this().lock();
    running_ = true;
    const auto notRunningAfterwards = qScopeGuard([this] { running_ = false; });
    execute(request, callbacks);
}

std::shared_ptr<ResultList> XapianSearchJob::Results() { return results_; }

QString XapianSearchJob::indexListPath(const QString& indexFolder, const QString& listFile) {
    if (indexFolder.isEmpty()) return listFile;
    if (indexFolder.endsWith(u'\\') || indexFolder.endsWith(u'/')) return indexFolder + listFile;
    const QChar separator = indexFolder.contains(u'\\') ? u'\\' : u'/';
    return indexFolder + separator + listFile;
}

void XapianSearchJob::execute(const SearchRequest& request, SearchCallbacks& callbacks) {
    results_ = std::make_shared<XapianResultList>();
    const QString& indexFolder = request.indexFolder;
    const QString& listFile =
        request.indexListFile.isEmpty() ? indexformat::kIndexListFile : request.indexListFile;

    // Without a folder there is no list to read, not even one in the current directory.
    const QString listPath =
        indexFolder.isEmpty() ? QString() : indexListPath(indexFolder, listFile);
    failure_.clear();
    otherSpellings_.clear();
    XapianSearchRun run(callbacks, resolveProgramPath_);
    results_ = run.run(request.text, listPath);
    failure_ = run.failure();
    otherSpellings_ = run.otherSpellings();
}

}  // namespace lumera
