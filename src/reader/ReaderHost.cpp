#include "reader/ReaderHost.h"

#include "database/ArticleDatabaseFiles.h"
#include "media/DriveSetup.h"
#include "searchengine/XapianSearchEngine.h"

namespace lumera {

ReaderHost::ReaderHost(const QStringList& driveOptions, WindowSystem& windows)
    : windows_(windows),
      engines_(std::make_unique<XapianSearchEngineFactory>(drives_)),
      databases_(std::make_unique<ArticleDatabaseFiles>(&windows_)),
      browser_(std::make_unique<WebEngineBrowser>(drives_)),
      problems_(MapDrives(drives_, driveOptions)) {}

ReaderHost::~ReaderHost() = default;

}  // namespace lumera
