#pragma once

#include <QStringList>
#include <QTextStream>

#include "headless/HeadlessBrowser.h"
#include "headless/HeadlessWindowSystem.h"
#include "host/ReaderState.h"
#include "media/DriveMap.h"
#include "reader/ReaderCore.h"
#include "searchengine/XapianSearchEngine.h"

namespace lumera::cli {

// An edition as every command sees it: started as the reader starts, with
// lex.ini read from the current directory and the drives mapped; the home
// page the start-up asks for is not shown. Problems, and the messages of its
// window system, go to err.
class Edition {
  public:
    Edition(const QStringList& driveMappings, QTextStream& err);

    // The search engine, as the reader makes it at its first activation.
    void startSearchEngine() { controller_.InitSearchEngine(); }
    bool installFolderExists() const { return !drives.existingFile(state.InstallPath).isEmpty(); }

    ReaderState state;
    DriveMap drives;
    HeadlessWindowSystem windows;

  private:
    XapianSearchEngineFactory engines_{drives};
    // The start-up's one navigation, to the home page, goes nowhere here.
    HeadlessBrowser startupBrowser_;
    Form1Controller controller_;
};

}  // namespace lumera::cli
