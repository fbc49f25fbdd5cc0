#pragma once

#include "host/FileAccess.h"
#include "host/SearchEngine.h"
#include "searchengine/XapianIndexList.h"

namespace lumera {

// The full-text search engine over Xapian indexes that a "search.lst" names,
// found through each run's request. Jobs it makes do not depend on it.
class XapianSearchEngine : public SearchEngine {
  public:
    explicit XapianSearchEngine(ProgramPathResolver resolveProgramPath);

    void Initialize() override;
    std::shared_ptr<SearchJob> NewSearchJob() override;

  private:
    ProgramPathResolver resolveProgramPath_;
};

// Makes engines that find the index folder the program names (InstallPath,
// perhaps a Windows path like "C:\lex\") on this machine through a resolver.
class XapianSearchEngineFactory : public SearchEngineFactory {
  public:
    // Paths are taken as local paths, as they are.
    XapianSearchEngineFactory();
    explicit XapianSearchEngineFactory(ProgramPathResolver resolveProgramPath);
    // files must outlive every engine and job made here.
    explicit XapianSearchEngineFactory(const FileAccess& files);

    std::shared_ptr<SearchEngine> create() override;

  private:
    ProgramPathResolver resolveProgramPath_;
};

}  // namespace lumera
