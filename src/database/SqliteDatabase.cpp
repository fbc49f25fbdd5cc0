#include "database/SqliteDatabase.h"

#include "database/RowRecordset.h"
#include "database/SqliteStatement.h"

#include <sqlite3.h>
#include <QFile>
#include <QtEndian>
#include <algorithm>

namespace lumera {

namespace {

const QByteArray kSignature("SQLite format 3\0", 16);
constexpr qint64 kHeaderSize = 100;
constexpr qint64 kPageSizeOffset = 16;
constexpr qint64 kChangeCounterOffset = 24;
constexpr qint64 kPageCountOffset = 28;
constexpr qint64 kVersionValidForOffset = 92;
constexpr qint64 kSmallestPage = 512;
constexpr qint64 kLargestPage = 65536;

const char* const kFoldFunction = "lumera_fold";

quint32 bigEndian32(const QByteArray& header, qint64 offset) {
    return qFromBigEndian<quint32>(header.constData() + offset);
}

// SQLite reads a file cut at a page boundary without complaint, so the
// length is checked against the page size and page count of the header.
void checkLayout(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw databaseerrors::cannotOpen(path, file.errorString());
    const QByteArray header = file.read(kHeaderSize);
    const auto truncated = [&path] {
        return databaseerrors::cannotOpen(path,
                                          QStringLiteral("o arquivo está truncado ou danificado"));
    };
    if (header.size() < kHeaderSize) throw truncated();
    qint64 pageSize = qFromBigEndian<quint16>(header.constData() + kPageSizeOffset);
    if (pageSize == 1) pageSize = kLargestPage;
    const bool powerOfTwo = (pageSize & (pageSize - 1)) == 0;
    if (!powerOfTwo || pageSize < kSmallestPage || pageSize > kLargestPage) throw truncated();
    const qint64 size = file.size();
    if (size % pageSize != 0) throw truncated();
    // The page count is only kept up to date when these two counters agree.
    if (bigEndian32(header, kChangeCounterOffset) == bigEndian32(header, kVersionValidForOffset) &&
        size < static_cast<qint64>(bigEndian32(header, kPageCountOffset)) * pageSize) {
        throw truncated();
    }
}

QString textOf(sqlite3_value* value) {
    const auto* text = static_cast<const char16_t*>(sqlite3_value_text16(value));
    return QString::fromUtf16(text, sqlite3_value_bytes16(value) / 2);
}

// lumera_fold(x): the case fold that keymatch compares with. Keys are matched
// in SQL through it rather than COLLATE NOCASE, which folds ASCII letters
// only and would miss "SÃO PAULO.HTM" for "são paulo.htm". NULL stays NULL,
// so a NULL never equals a key.
void foldFunction(sqlite3_context* context, int, sqlite3_value** arguments) {
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const QString folded = keymatch::folded(textOf(arguments[0]));
    sqlite3_result_text16(context, folded.utf16(), static_cast<int>(folded.size() * 2),
                          SQLITE_TRANSIENT);
}

QString quoted(const QString& identifier) {
    QString escaped = identifier;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

using Statement = SqliteStatement;

// Rows of a table whose column folds to foldedKey, in stored (rowid) order.
// The rowids are found first with only the key column read, and sorted here
// rather than by ORDER BY: so SQLite scans an index on that column, when the
// edition has one, instead of the whole table with its long article texts.
// The rows are then read by rowid.
std::vector<StoredRow> matchingRows(sqlite3* db, const QString& path, const QString& selectList,
                                    const QString& table, const QString& keyColumn,
                                    const QString& foldedKey) {
    Statement find(db, path,
                   QStringLiteral("SELECT rowid FROM %1 WHERE %2(%3) = ?1")
                       .arg(quoted(table), QLatin1String(kFoldFunction), quoted(keyColumn)));
    find.bind(1, foldedKey);
    std::vector<sqlite3_int64> rowids;
    while (find.step()) rowids.push_back(find.integer(0));
    std::sort(rowids.begin(), rowids.end());

    Statement read(
        db, path,
        QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?1").arg(selectList, quoted(table)));
    std::vector<StoredRow> rows;
    for (const sqlite3_int64 rowid : rowids) {
        read.bind(1, rowid);
        if (read.step()) rows.push_back(read.row());
        read.reset();
    }
    return rows;
}

}  // namespace

bool SqliteDatabase::recognizes(const QByteArray& header) { return header.startsWith(kSignature); }

SqliteDatabase::SqliteDatabase(const QString& localPath) : path_(localPath) {
    checkLayout(localPath);
    const int opened = sqlite3_open_v2(QFile::encodeName(localPath).constData(), &db_,
                                       SQLITE_OPEN_READONLY, nullptr);
    if (opened != SQLITE_OK) {
        const QString detail =
            db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("sem memória");
        sqlite3_close(db_);
        throw databaseerrors::cannotOpen(localPath, detail);
    }
    sqlite3_extended_result_codes(db_, 1);
    const int registered = sqlite3_create_function_v2(
        db_, kFoldFunction, 1, SQLITE_UTF16 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
        &foldFunction, nullptr, nullptr, nullptr);
    try {
        if (registered != SQLITE_OK) {
            throw databaseerrors::cannotOpen(localPath, QString::fromUtf8(sqlite3_errmsg(db_)));
        }
        // SQLite opens lazily; reading the schema now reports a damaged file at open.
        Statement schema(db_, path_, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        schema.step();
    } catch (...) {
        sqlite3_close(db_);
        throw;
    }
}

SqliteDatabase::~SqliteDatabase() { sqlite3_close(db_); }

sqlite3* SqliteDatabase::connection() const {
    if (!db_) throw databaseerrors::closed(path_);
    return db_;
}

QStringList SqliteDatabase::columnsOf(const QString& table) const {
    Statement info(connection(), path_, QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
    info.bind(1, table);
    QStringList columns;
    while (info.step()) columns.append(info.text(0).value_or(QString()));
    if (columns.isEmpty()) throw databaseerrors::missingTable(path_, table);
    return columns;
}

QString SqliteDatabase::requireColumn(const QStringList& columns, const QString& table,
                                      const QString& name) const {
    for (const QString& column : columns) {
        if (column.compare(name, Qt::CaseInsensitive) == 0) return column;
    }
    throw databaseerrors::missingColumn(path_, table, name);
}

std::unique_ptr<Recordset> SqliteDatabase::articleQuery(const QString& key) {
    const QStringList columns = columnsOf(articletables::kArticles);
    const QString keyColumn = requireColumn(columns, articletables::kArticles, articletables::kKey);
    QStringList selectList;
    for (const QString& column : columns) selectList.append(quoted(column));
    TableRows found{
        columns, matchingRows(connection(), path_, selectList.join(u','), articletables::kArticles,
                              keyColumn, keymatch::folded(key))};
    return std::make_unique<RowRecordset>(std::move(found), path_, articletables::kArticles);
}

std::unique_ptr<Recordset> SqliteDatabase::mediaQuery(const QString& title) {
    const QStringList columns = columnsOf(articletables::kMedia);
    QStringList selectList;
    for (const QString& name : articletables::kMediaColumns) {
        selectList.append(quoted(requireColumn(columns, articletables::kMedia, name)));
    }
    const QString itemColumn =
        requireColumn(columns, articletables::kMedia, articletables::kMediaItem);
    std::vector<StoredRow> rows =
        matchingRows(connection(), path_, selectList.join(u','), articletables::kMedia, itemColumn,
                     keymatch::folded(title));
    return std::make_unique<RowRecordset>(
        TableRows{articletables::kMediaColumns, distinctRows(std::move(rows))}, path_,
        articletables::kMedia);
}

void SqliteDatabase::close() {
    sqlite3_close(db_);
    db_ = nullptr;
}

void SqliteDatabase::forEachArticle(const std::function<bool(const ArticleRow&)>& visit) {
    const QString& table = articletables::kArticles;
    const QStringList columns = columnsOf(table);
    QStringList selectList = {quoted(requireColumn(columns, table, articletables::kKey)),
                              quoted(requireColumn(columns, table, articletables::kTitle)),
                              quoted(requireColumn(columns, table, articletables::kText))};
    const bool hasVolume = columns.contains(articletables::kVolume, Qt::CaseInsensitive);
    if (hasVolume) selectList.append(quoted(requireColumn(columns, table, articletables::kVolume)));
    Statement all(connection(), path_,
                  QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                      .arg(selectList.join(u','), quoted(table)));
    while (all.step()) {
        ArticleRow row{all.text(0).value_or(QString()), all.text(1).value_or(QString()),
                       all.text(2).value_or(QString()), std::nullopt};
        if (hasVolume) row.tomo = all.text(3).value_or(QString());
        if (!visit(row)) return;
    }
}

}  // namespace lumera
