#pragma once

#include "host/FileAccess.h"
#include "host/SearchEngine.h"
#include "platform/XapianIndexList.h"

namespace lumera {

// The full-text search engine over Xapian indexes that a "search.lst" names.
// HomeDir and PrivateDir are kept for the caller's sake; the index is found
// through the job's settings alone. Jobs it makes do not depend on it.
class XapianSearchEngine : public SearchEngine {
  public:
    explicit XapianSearchEngine(ProgramPathResolver resolveProgramPath);

    void setHomeDir(const QString& dir) override { homeDir_ = dir; }
    void setPrivateDir(const QString& dir) override { privateDir_ = dir; }
    void Initialize() override;
    std::shared_ptr<SearchJob> NewSearchJob() override;

    QString homeDir() const { return homeDir_; }
    QString privateDir() const { return privateDir_; }

  private:
    ProgramPathResolver resolveProgramPath_;
    QString homeDir_;
    QString privateDir_;
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
