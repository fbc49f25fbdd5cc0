#pragma once

#include <QStringList>
#include <memory>

#include "browser/WebEngineBrowser.h"
#include "host/ArticleDatabase.h"
#include "host/SearchEngine.h"
#include "platform/DriveMap.h"
#include "platform/QtWindowSystem.h"

namespace lumera {

// The real components the reader runs on, made once per process.
class ReaderHost {
  public:
    // driveOptions: the --drive mappings; LUMERA_DRIVES is read too.
    explicit ReaderHost(const QStringList& driveOptions);
    ~ReaderHost();

    DriveMap& drives() { return drives_; }
    WebEngineBrowser& browser() { return *browser_; }
    QtWindowSystem& windows() { return windows_; }
    SearchEngineFactory& engines() { return *engines_; }
    ArticleDatabaseOpener& databases() { return *databases_; }
    // Messages about drive mappings that could not be made.
    const QStringList& problems() const { return problems_; }

  private:
    DriveMap drives_;
    QtWindowSystem windows_;
    std::unique_ptr<SearchEngineFactory> engines_;
    std::unique_ptr<ArticleDatabaseOpener> databases_;
    std::unique_ptr<WebEngineBrowser> browser_;
    QStringList problems_;
};

}  // namespace lumera
