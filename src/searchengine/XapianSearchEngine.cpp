#include "searchengine/XapianSearchEngine.h"

#include <xapian.h>

#include <QFileInfo>

#include "searchengine/XapianLog.h"
#include "searchengine/XapianSearchJob.h"

namespace lumera {

XapianSearchEngine::XapianSearchEngine(ProgramPathResolver resolveProgramPath)
    : resolveProgramPath_(std::move(resolveProgramPath)) {}

void XapianSearchEngine::Initialize() { qCDebug(lcSearch) << "Xapian" << Xapian::version_string(); }

std::shared_ptr<SearchJob> XapianSearchEngine::NewSearchJob() {
    return std::make_shared<XapianSearchJob>(resolveProgramPath_);
}

XapianSearchEngineFactory::XapianSearchEngineFactory()
    : XapianSearchEngineFactory(
          [](const QString& path) { return QFileInfo::exists(path) ? path : QString(); }) {}

XapianSearchEngineFactory::XapianSearchEngineFactory(ProgramPathResolver resolveProgramPath)
    : resolveProgramPath_(std::move(resolveProgramPath)) {}

XapianSearchEngineFactory::XapianSearchEngineFactory(const FileAccess& files)
    : XapianSearchEngineFactory(
          [&files](const QString& path) { return files.existingFile(path); }) {}

std::shared_ptr<SearchEngine> XapianSearchEngineFactory::create() {
    return std::make_shared<XapianSearchEngine>(resolveProgramPath_);
}

}  // namespace lumera
