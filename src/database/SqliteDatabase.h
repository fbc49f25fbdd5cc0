#pragma once

#include "database/ArticleTables.h"

#include <QByteArray>
#include <QString>
#include <memory>

struct sqlite3;

namespace lumera {

// A SQLite file with the DatabaseV and Fotos tables, as the editions built
// for this reader ship them. Opened read-only.
class SqliteDatabase : public ArticleDatabaseFile {
  public:
    // True when the file's first bytes carry the SQLite signature.
    static bool recognizes(const QByteArray& header);

    // Throws DatabaseError when the file is truncated, damaged or unreadable.
    explicit SqliteDatabase(const QString& localPath);
    ~SqliteDatabase() override;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    std::unique_ptr<Recordset> articleQuery(const QString& key) override;
    std::unique_ptr<Recordset> mediaQuery(const QString& title) override;
    void close() override;
    void forEachArticle(const std::function<bool(const ArticleRow&)>& visit) override;

  private:
    sqlite3* connection() const;
    // The table's column names as stored; throws when there is no such table.
    QStringList columnsOf(const QString& table) const;
    // The stored name of a column the query needs; throws when it is missing.
    QString requireColumn(const QStringList& columns, const QString& table,
                          const QString& name) const;

    QString path_;
    sqlite3* db_ = nullptr;
};

}  // namespace lumera
