#pragma once

#include "database/RowRecordset.h"

#include <mdbtools.h>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace lumera {

// Which lex.mdb a lookup was made from: the file as the file system sees it,
// and the text folding it was made with (a newer Unicode may fold a key
// otherwise).
struct JetFileStamp {
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint32 unicodeVersion = 0;
    bool operator==(const JetFileStamp&) const = default;
};

struct TableDefinitionFree {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using TableDefinition = std::unique_ptr<MdbTableDef, TableDefinitionFree>;

// An Access file open through libmdb. libmdb trusts the file: it reads the
// page after the last one as zeros, follows damaged chains without end and
// cuts long text. So every page a read relies on is checked against the
// file first, and text decoding is set here, independent of the environment
// (MDBICONV, MDB_JET3_CHARSET) and of the code page the file names.
class JetFile {
  public:
    // True for the first bytes of a Jet (Access 97 to 2003) or ACE file.
    static bool recognizes(const QByteArray& header);
    // Throws DatabaseError when the file cannot be a sound Jet file.
    explicit JetFile(const QString& path);
    ~JetFile();
    JetFile(const JetFile&) = delete;
    JetFile& operator=(const JetFile&) = delete;

    const QString& path() const { return path_; }
    MdbHandle* handle() const { return mdb_; }
    qint64 pageSize() const { return pageSize_; }
    qint64 pageCount() const { return pageCount_; }
    bool holdsPage(quint32 page) const;
    // The open file's size and modification time, read from the file libmdb
    // reads, so that a lex.mdb replaced meanwhile cannot be taken for it.
    JetFileStamp stamp() const;
    // Pages read from the file since it was opened.
    quint64 pagesRead() const;

    // The catalog entry of a table, its name matched as Jet does, without
    // regard to case. Throws DatabaseError when there is no such table.
    MdbCatalogEntry* table(const QString& name) const;
    // A table's definition, once its usage map is known to lie inside the file.
    TableDefinition readTable(MdbCatalogEntry* entry) const;
    // The rows a table's definition counts, as Jet keeps the count when it
    // adds and deletes rows. Throws DatabaseError as table() and readTable().
    quint32 rowCount(const QString& table) const;
    // Throws DatabaseError unless every data page the usage map names lies
    // inside the file, which a walk of the table relies on.
    void checkDataPages(const MdbTableDef& table) const;
    // Text as libmdb hands it over, as the file stores it.
    QString decode(const QByteArray& converted) const;

    // The error for a file that breaks its own structure.
    DatabaseError damaged() const;

  private:
    struct CatalogTable {
        QString name;
        std::unique_ptr<MdbCatalogEntry> entry;
    };

    bool isJet3() const;
    void useExactDecoding();
    void readCatalog();

    QString path_;
    qint64 pageSize_ = 0;
    qint64 pageCount_ = 0;
    MdbHandle* mdb_ = nullptr;
    // Table definitions point at their entries, so these must not move.
    std::vector<CatalogTable> tables_;
};

// A scan over one table in stored order, a row at a time.
class JetTableReader {
  public:
    // Throws DatabaseError for a table that is missing or damaged.
    JetTableReader(const JetFile& file, const QString& tableName);
    JetTableReader(const JetFile& file, MdbCatalogEntry* entry, QString tableName);

    const QStringList& columns() const { return columns_; }
    // Index of a column, the name matched without regard to case; -1 if none.
    int findColumn(const QString& name) const;
    // The same, throwing DatabaseError when the table has no such column.
    int requireColumn(const QString& name) const;

    // Moves to the next stored row; false after the last.
    bool next();
    // Back before the first row, for a walk after reads by location.
    void rewind();
    // Where the current row lies: its page above, its row number in the low
    // byte, as Jet's own row pointers have it. Ascending in stored order.
    quint32 location() const;
    // The first page of an index on the column alone that JetTextIndex can
    // search (Jet 4, General sort order, ascending), or 0 when the table has
    // none. Called before the reader moves: it reads the definition again.
    quint32 textIndexRoot(int column);
    // Moves to the row at a location, as next() would have found it there.
    // False when no such row lies there: a page that is not one of this
    // table's data pages, a row number past the page's rows, a deleted row.
    bool moveTo(quint32 location);
    // The page of the table's definition, which its data and index pages name.
    quint32 definitionPage() const;
    // A value of the current row.
    StoredText value(int index);

  private:
    bool crackCurrentRow();
    MdbColumn* column(int index) const;
    QByteArray converted(int type, const MdbField& field, std::size_t bindSize);
    QString memo(const MdbField& field);
    void checkMemoRows(const MdbField& field, quint32 reference, quint32 length) const;

    const JetFile& file_;
    MdbHandle* mdb_;
    QString tableName_;
    TableDefinition table_;
    QStringList columns_;
    std::vector<MdbField> fields_;
    bool pagesChecked_ = false;
    // The definition page where the index definitions start.
    guint32 indexDefinitionPage_ = 0;
};

}  // namespace lumera
