#include "database/RowRecordset.h"

#include "database/ArticleTables.h"

#include <QSet>
#include <utility>

namespace lumera {

namespace keymatch {

QString folded(const QString& text) { return text.toCaseFolded(); }

bool matches(const StoredText& stored, const QString& foldedKey) {
    return stored.has_value() && folded(*stored) == foldedKey;
}

}  // namespace keymatch

namespace {

// One text per row that is equal for rows DISTINCT takes as equal. Each value
// carries its length, so no value can run into the next one.
QString distinctKey(const StoredRow& row) {
    QString key;
    for (const StoredText& value : row) {
        if (!value) {
            key += u'N';
            continue;
        }
        const QString text = keymatch::folded(*value);
        key += u'T' + QString::number(text.size()) + u':' + text;
    }
    return key;
}

}  // namespace

std::vector<StoredRow> distinctRows(std::vector<StoredRow> rows) {
    std::vector<StoredRow> kept;
    QSet<QString> seen;
    for (StoredRow& row : rows) {
        const QString key = distinctKey(row);
        if (seen.contains(key)) continue;
        seen.insert(key);
        kept.push_back(std::move(row));
    }
    return kept;
}

RowRecordset::RowRecordset(TableRows rows, QString file, QString table)
    : rows_(std::move(rows)), file_(std::move(file)), table_(std::move(table)) {}

bool RowRecordset::atEnd() const { return position_ >= rows_.rows.size(); }

std::optional<QString> RowRecordset::value(const QString& column) const {
    if (atEnd()) throw databaseerrors::noCurrentRow(file_, table_);
    for (qsizetype i = 0; i < rows_.columns.size(); ++i) {
        if (rows_.columns[i].compare(column, Qt::CaseInsensitive) == 0) {
            return rows_.rows[position_][static_cast<std::size_t>(i)];
        }
    }
    throw databaseerrors::unknownField(file_, table_, column);
}

void RowRecordset::moveFirst() { position_ = 0; }

void RowRecordset::moveNext() {
    if (!atEnd()) ++position_;
}

void RowRecordset::close() {
    rows_.rows.clear();
    position_ = 0;
}

}  // namespace lumera
