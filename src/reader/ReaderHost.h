#pragma once

#include <QStringList>
#include <memory>

#include "browser/WebEngineBrowser.h"
#include "host/ArticleDatabase.h"
#include "host/SearchEngine.h"
#include "host/WindowSystem.h"
#include "media/DriveMap.h"

namespace lumera {

// The real components the reader runs on, made once per process.
class ReaderHost {
  public:
    // driveOptions: the --drive mappings; LUMERA_DRIVES is read too.
    // windows: the reader's own on a screen, a headless one in lumera-cli.
    ReaderHost(const QStringList& driveOptions, WindowSystem& windows);
    ~ReaderHost();

    DriveMap& drives() { return drives_; }
    WebEngineBrowser& browser() { return *browser_; }
    WindowSystem& windows() { return windows_; }
    SearchEngineFactory& engines() { return *engines_; }
    ArticleDatabaseOpener& databases() { return *databases_; }
    // Messages about drive mappings that could not be made.
    const QStringList& problems() const { return problems_; }

  private:
    DriveMap drives_;
    WindowSystem& windows_;
    std::unique_ptr<SearchEngineFactory> engines_;
    std::unique_ptr<ArticleDatabaseOpener> databases_;
    std::unique_ptr<WebEngineBrowser> browser_;
    QStringList problems_;
};

}  // namespace lumera
