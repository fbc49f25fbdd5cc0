#pragma once

#include <sqlite3.h>

#include <QString>
#include <QStringList>

namespace lumera::bench {

// The peer: SQLite FTS5 with the unicode61 tokenizer folding diacritics.
class Fts5Index {
  public:
    // Creates (replacing) or opens the index file.
    Fts5Index(const QString& path, bool create);
    ~Fts5Index();
    Fts5Index(const Fts5Index&) = delete;
    Fts5Index& operator=(const Fts5Index&) = delete;

    void begin();
    void add(const QString& key, const QString& title, const QString& body);
    void commit();
    // Every match, best first, read out as the reader would list it; the count.
    int search(const QString& match);

  private:
    void exec(const char* sql);
    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    sqlite3_stmt* insertShown_ = nullptr;
    sqlite3_int64 rows_ = 0;
    sqlite3_stmt* query_ = nullptr;
};

// A query of the harness set ("word", "two words", "\"a phrase\"", "pref*")
// in FTS5 syntax, the words quoted.
QString fts5Query(const QString& kind, const QString& query);

}  // namespace lumera::bench
