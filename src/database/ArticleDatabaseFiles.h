#pragma once

#include "database/ArticleTables.h"
#include "host/ArticleDatabase.h"

#include <QString>
#include <memory>

namespace lumera {

class JetKeyLookups;
class WindowSystem;

// Opens lex.mdb as a Jet (Access 97 to 2003) or a SQLite file, chosen by the
// file's header, so editions of either kind are read the same way.
class ArticleDatabaseFiles : public ArticleDatabaseOpener {
  public:
    // Jet files are read through their key lookups, made on first use when
    // missing, with the busy pointer of windows if given.
    explicit ArticleDatabaseFiles(WindowSystem* windows = nullptr);
    ~ArticleDatabaseFiles() override;

    std::unique_ptr<ArticleDatabase> open(const QString& localPath) override;
    // The same, with the article table walk for the indexer; a Jet file is
    // read through lookups when given, and walked otherwise. Throws DatabaseError.
    static std::unique_ptr<ArticleDatabaseFile> openFile(const QString& localPath,
                                                         JetKeyLookups* lookups = nullptr);
    // Makes beside the file what its queries use when it is there: a Jet
    // file's key lookup (nothing for SQLite, whose own indexes serve). False
    // when it cannot be written; throws DatabaseError for an unreadable file.
    static bool prepareLookups(const QString& localPath);

  private:
    std::unique_ptr<JetKeyLookups> lookups_;
};

}  // namespace lumera
