#pragma once

#include "database/ArticleTables.h"
#include "database/JetKeyLookups.h"
#include "database/RowRecordset.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace lumera {

class JetFile;
class JetTableReader;

// An Access file (Jet 3 of Access 97, Jet 4 of Access 2000 to 2003) read
// through libmdb. libmdb has no query language that can run the article
// queries, so the key test and the DISTINCT are done here, on the rows the
// file's own index on the key column names when it has one that can be
// searched, on those the key lookup names otherwise, and on the whole table
// in stored order when there is neither. Jet 3 text decodes as Windows-1252.
class JetDatabase : public ArticleDatabaseFile {
  public:
    // True when the file's first bytes carry the Jet or ACE signature.
    static bool recognizes(const QByteArray& header);

    // Opens the file read-only. Throws DatabaseError when the file cannot be
    // a sound Jet file (checked before libmdb reads it) or libmdb fails.
    // Queries find their rows through the file's indexes (unless told not
    // to) and lookups when lookups is given, and walk the tables otherwise:
    // the reference the tests and the fuzzer compare with. An index is
    // believed as the file gives it; a damaged one may name other rows.
    explicit JetDatabase(const QString& localPath, JetKeyLookups* lookups = nullptr,
                         bool searchIndexes = true);
    ~JetDatabase() override;

    std::unique_ptr<Recordset> articleQuery(const QString& key) override;
    std::unique_ptr<Recordset> mediaQuery(const QString& title) override;
    void close() override;
    void forEachArticle(const std::function<bool(const ArticleRow&)>& visit) override;

    // Every row of any table, all columns, in stored order.
    TableRows readTable(const QString& table);
    // Pages the queries have read from the file so far.
    quint64 pagesRead();

  private:
    JetFile& file();
    // Calls take on every row of the reader's table whose key matches, in
    // stored order, the reader standing on it.
    void forEachMatch(JetTableReader& reader, JetKeyLookup::Table table, int keyColumn,
                      const QString& foldedKey, const std::function<void()>& take);
    std::shared_ptr<const JetKeyLookup> lookup();
    // Whether each row a lookup lists for a key is there with a key of its
    // hash; the reader is left on the last.
    static bool listedRowsAreThere(JetTableReader& reader, const std::vector<quint32>& locations,
                                   int keyColumn, const QString& foldedKey);
    void takeAt(JetTableReader& reader, const std::vector<quint32>& locations, int keyColumn,
                const QString& foldedKey, const std::function<void()>& take);

    QString path_;
    std::unique_ptr<JetFile> file_;
    JetKeyLookups* lookups_;
    bool searchIndexes_;
};

}  // namespace lumera
