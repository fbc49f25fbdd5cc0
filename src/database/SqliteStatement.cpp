#include "database/SqliteStatement.h"

#include "database/ArticleTables.h"

#include <sqlite3.h>

namespace lumera {

SqliteStatement::SqliteStatement(sqlite3* db, const QString& path, const QString& sql)
    : db_(db), path_(path) {
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()), &statement_,
                           nullptr) != SQLITE_OK) {
        fail();
    }
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

void SqliteStatement::bind(int index, const QString& value) {
    if (sqlite3_bind_text16(statement_, index, value.utf16(), static_cast<int>(value.size() * 2),
                            SQLITE_TRANSIENT) != SQLITE_OK) {
        fail();
    }
}

void SqliteStatement::bind(int index, qint64 value) {
    if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) fail();
}

bool SqliteStatement::step() {
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) return true;
    if (result != SQLITE_DONE) fail();
    return false;
}

void SqliteStatement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

int SqliteStatement::columnCount() const { return sqlite3_column_count(statement_); }

StoredText SqliteStatement::text(int index) const {
    if (sqlite3_column_type(statement_, index) == SQLITE_NULL) return std::nullopt;
    const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(statement_, index));
    return QString::fromUtf16(text, sqlite3_column_bytes16(statement_, index) / 2);
}

qint64 SqliteStatement::integer(int index) const { return sqlite3_column_int64(statement_, index); }

StoredRow SqliteStatement::row() const {
    StoredRow values;
    for (int i = 0; i < columnCount(); ++i) values.push_back(text(i));
    return values;
}

void SqliteStatement::run(sqlite3* db, const QString& path, const QString& sql) {
    SqliteStatement statement(db, path, sql);
    while (statement.step()) {
    }
}

void SqliteStatement::fail() const {
    const int code = sqlite3_errcode(db_) & 0xff;
    const QString detail = QString::fromUtf8(sqlite3_errmsg(db_));
    if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB) {
        throw databaseerrors::cannotRead(
            path_, QStringLiteral("o arquivo está truncado ou danificado (%1)").arg(detail));
    }
    throw databaseerrors::cannotRead(path_, detail);
}

}  // namespace lumera
