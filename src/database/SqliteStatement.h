#pragma once

#include "database/RowRecordset.h"

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace lumera {

// One prepared statement of a SQLite connection; every failure becomes a
// DatabaseError naming the file, a damaged one said so.
class SqliteStatement {
  public:
    SqliteStatement(sqlite3* db, const QString& path, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bind(int index, const QString& value);
    void bind(int index, qint64 value);

    // Moves to the next result row; false when there is none.
    bool step();
    void reset();

    int columnCount() const;
    StoredText text(int index) const;
    qint64 integer(int index) const;
    StoredRow row() const;

    // Runs sql, which takes no parameter and whose rows are not wanted.
    static void run(sqlite3* db, const QString& path, const QString& sql);

  private:
    [[noreturn]] void fail() const;

    sqlite3* db_;
    QString path_;
    sqlite3_stmt* statement_ = nullptr;
};

}  // namespace lumera
