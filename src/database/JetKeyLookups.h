#pragma once

#include "database/JetKeyLookup.h"

#include <QString>
#include <memory>
#include <optional>

namespace lumera {

class JetFile;
class WindowSystem;

// The key lookups of the Jet files a process reads. A lookup lives in the
// installation folder beside its lex.mdb, as lex.chaves, and in memory for
// the next request; it is used only while the file has the size and
// modification time it was made from and its tables the rows it lists, so a
// changed lex.mdb is never read through a stale one. lex.chaves is read only
// as a regular file, never through a link, and no more of it than its header
// declares; it is written whole or not at all, replacing whatever is there.
class JetKeyLookups {
  public:
    // What a query does when its file has no current lookup: make one (about
    // a second for 100,000 articles, two walks of the tables) for this and
    // every later request, or walk the table this once.
    enum class Missing { Build, Walk };

    // windows, when given, shows the busy pointer while a lookup is made.
    explicit JetKeyLookups(Missing missing = Missing::Walk, WindowSystem* windows = nullptr);

    // The current lookup of an open file, or null: none can be had (Walk and
    // none beside the file, or the file lacks what a lookup needs, which the
    // query's own walk then reports).
    std::shared_ptr<const JetKeyLookup> lookupFor(const JetFile& file);
    // The file's lookup named a row that is not there, or not of its key: it
    // was made of other rows. It is removed; Build makes a new one once for
    // this process, and queries walk until then.
    void stale(const JetFile& file);

    // lex.chaves beside lex.mdb.
    static QString pathFor(const QString& databaseFile);
    // Makes the lookup of a Jet file and writes it beside the file, unless a
    // current one is there (lumera-index and the set-up call it). False when
    // it cannot be written; throws DatabaseError when the file cannot be read.
    static bool prepare(const QString& databaseFile);

  private:
    struct Cached {
        QString path;
        JetFileStamp stamp;
        std::shared_ptr<const JetKeyLookup> lookup;
        bool madeHere = false;
    };

    static std::shared_ptr<const JetKeyLookup> readBeside(const JetFile& file,
                                                          const JetFileStamp& stamp);
    std::shared_ptr<const JetKeyLookup> buildBeside(const JetFile& file, const JetFileStamp& stamp);
    static bool writeBeside(const JetFile& file, const JetKeyLookup& lookup);

    Missing missing_;
    WindowSystem* windows_;
    std::optional<Cached> cached_;
};

}  // namespace lumera
