#include "Fts5.h"

#include <QFile>
#include <stdexcept>

namespace lumera::bench {

Fts5Index::Fts5Index(const QString& path, bool create) {
    if (create) QFile::remove(path);
    if (sqlite3_open(QFile::encodeName(path).constData(), &db_) != SQLITE_OK) {
        throw std::runtime_error("cannot open " + path.toStdString());
    }
    if (create) {
        // Contentless, with what a result shows in a table of its own: like
        // our index, it keeps no copy of the article text to read through.
        exec(
            "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
            "CREATE VIRTUAL TABLE docs USING fts5(title, body, content='', "
            "tokenize='unicode61 remove_diacritics 2');"
            "CREATE TABLE shown(id INTEGER PRIMARY KEY, key TEXT, title TEXT);");
        sqlite3_prepare_v2(db_, "INSERT INTO docs(rowid, title, body) VALUES(?4, ?2, ?3)", -1,
                           &insert_, nullptr);
        sqlite3_prepare_v2(db_, "INSERT INTO shown(id, key, title) VALUES(?1, ?2, ?3)", -1,
                           &insertShown_, nullptr);
    }
    sqlite3_prepare_v2(db_,
                       "SELECT shown.key, shown.title FROM docs JOIN shown ON shown.id = "
                       "docs.rowid WHERE docs MATCH ?1 ORDER BY docs.rank",
                       -1, &query_, nullptr);
}

Fts5Index::~Fts5Index() {
    sqlite3_finalize(insert_);
    sqlite3_finalize(insertShown_);
    sqlite3_finalize(query_);
    sqlite3_close(db_);
}

void Fts5Index::exec(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "?";
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}

void Fts5Index::begin() { exec("BEGIN"); }
void Fts5Index::commit() { exec("COMMIT"); }

void Fts5Index::add(const QString& key, const QString& title, const QString& body) {
    ++rows_;
    const QByteArray keyText = key.toUtf8(), titleText = title.toUtf8(), bodyText = body.toUtf8();
    sqlite3_bind_int64(insertShown_, 1, rows_);
    sqlite3_bind_text(insertShown_, 2, keyText.constData(), int(keyText.size()), SQLITE_STATIC);
    sqlite3_bind_text(insertShown_, 3, titleText.constData(), int(titleText.size()), SQLITE_STATIC);
    sqlite3_bind_text(insert_, 2, titleText.constData(), int(titleText.size()), SQLITE_STATIC);
    sqlite3_bind_text(insert_, 3, bodyText.constData(), int(bodyText.size()), SQLITE_STATIC);
    sqlite3_bind_int64(insert_, 4, rows_);
    for (sqlite3_stmt* statement : {insertShown_, insert_}) {
        if (sqlite3_step(statement) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
        sqlite3_reset(statement);
    }
}

int Fts5Index::search(const QString& match) {
    const QByteArray text = match.toUtf8();
    sqlite3_bind_text(query_, 1, text.constData(), int(text.size()), SQLITE_STATIC);
    int found = 0;
    qsizetype readBytes = 0;
    while (sqlite3_step(query_) == SQLITE_ROW) {
        ++found;
        // Read out both columns, as a result list is filled.
        readBytes += sqlite3_column_bytes16(query_, 0) + sqlite3_column_bytes16(query_, 1);
    }
    sqlite3_reset(query_);
    return readBytes >= 0 ? found : 0;
}

QString fts5Query(const QString& kind, const QString& query) {
    if (kind == u"phrase") return query;
    if (kind == u"prefix") return u'"' + query.chopped(1) + QStringLiteral("\"*");
    QStringList words;
    for (const QString& word : query.split(u' ', Qt::SkipEmptyParts)) words << u'"' + word + u'"';
    return words.join(u' ');
}

}  // namespace lumera::bench
