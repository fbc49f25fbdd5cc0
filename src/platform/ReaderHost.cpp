#include "platform/ReaderHost.h"

#include "platform/DriveSetup.h"

namespace lumera {

ReaderHost::ReaderHost(const QStringList& driveOptions,
                       std::unique_ptr<SearchEngineFactory> engines)
    : engines_(std::move(engines)),
      browser_(std::make_unique<WebEngineBrowser>(drives_)),
      problems_(MapDrives(drives_, driveOptions)) {}

ReaderHost::~ReaderHost() = default;

}  // namespace lumera
