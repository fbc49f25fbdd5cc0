#pragma once

#include "host/ArticleDatabase.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace lumera {

// A value as the table stores it. NULL stays apart from empty text: a NULL
// never equals a key, and for DISTINCT two NULLs are the same value.
using StoredText = std::optional<QString>;
using StoredRow = std::vector<StoredText>;

// Key equality as Jet has it: letter case ignored, for every script. Both
// engines compare through folded() so that they agree on every key.
namespace keymatch {
QString folded(const QString& text);
bool matches(const StoredText& stored, const QString& foldedKey);
}  // namespace keymatch

// The rows of one query, read into memory, in delivery order.
struct TableRows {
    QStringList columns;
    std::vector<StoredRow> rows;
};

// Rows equal in every column (letter case ignored, NULLs equal to each other
// but not to empty text) come out once, as the first delivered of them.
std::vector<StoredRow> distinctRows(std::vector<StoredRow> rows);

// A cursor over rows already read. They outlive the database connection, so
// nothing of the file stays open while the caller walks them.
class RowRecordset : public Recordset {
  public:
    // file and table name the source in error messages.
    RowRecordset(TableRows rows, QString file, QString table);

    bool atEnd() const override;
    std::optional<QString> value(const QString& column) const override;
    void moveFirst() override;
    void moveNext() override;
    void close() override;

  private:
    TableRows rows_;
    QString file_;
    QString table_;
    std::size_t position_ = 0;
};

}  // namespace lumera
