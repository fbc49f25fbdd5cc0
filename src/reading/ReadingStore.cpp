#include "reading/ReadingStore.h"

#include "database/ArticleTables.h"
#include "database/SqliteStatement.h"

#include <sqlite3.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lumera {
namespace {

const QString kSchema = QStringLiteral(
    "CREATE TABLE IF NOT EXISTS favoritos (id INTEGER PRIMARY KEY, chave TEXT NOT NULL, "
    "titulo TEXT NOT NULL, nota TEXT NOT NULL DEFAULT '', quando TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS historico (id INTEGER PRIMARY KEY, chave TEXT NOT NULL, "
    "titulo TEXT NOT NULL, quando TEXT NOT NULL);");

QString stamp(const QDateTime& when) { return when.toString(Qt::ISODate); }

}  // namespace

ReadingStore::ReadingStore(const QString& file) : path_(file) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString detail =
            db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("sem memória");
        sqlite3_close(db_);
        throw databaseerrors::cannotOpen(file, detail);
    }
    try {
        // A committed change is on the disk before the call returns.
        SqliteStatement::run(db_, path_, QStringLiteral("PRAGMA synchronous=FULL"));
        for (const QString& statement : kSchema.split(u';', Qt::SkipEmptyParts)) {
            SqliteStatement::run(db_, path_, statement);
        }
    } catch (...) {
        sqlite3_close(db_);
        throw;
    }
}

ReadingStore::~ReadingStore() { sqlite3_close(db_); }

template <typename Change>
void ReadingStore::inTransaction(Change change) {
    SqliteStatement::run(db_, path_, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        change();
        SqliteStatement::run(db_, path_, QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

qint64 ReadingStore::addFavourite(const QString& key, const QString& title, const QString& note,
                                  const QDateTime& when) {
    inTransaction([&] {
        SqliteStatement insert(
            db_, path_,
            QStringLiteral(
                "INSERT INTO favoritos (chave, titulo, nota, quando) VALUES (?1,?2,?3,?4)"));
        insert.bind(1, key);
        insert.bind(2, title);
        insert.bind(3, note);
        insert.bind(4, stamp(when));
        insert.step();
    });
    return sqlite3_last_insert_rowid(db_);
}

void ReadingStore::setNote(qint64 id, const QString& note) {
    inTransaction([&] {
        SqliteStatement update(db_, path_,
                               QStringLiteral("UPDATE favoritos SET nota = ?1 WHERE id = ?2"));
        update.bind(1, note);
        update.bind(2, id);
        update.step();
    });
}

void ReadingStore::removeFavourite(qint64 id) {
    inTransaction([&] {
        SqliteStatement remove(db_, path_, QStringLiteral("DELETE FROM favoritos WHERE id = ?1"));
        remove.bind(1, id);
        remove.step();
    });
}

QList<ReadingEntry> ReadingStore::favourites() const {
    return entries(
        QStringLiteral("SELECT id, chave, titulo, nota, quando FROM favoritos ORDER BY id"));
}

void ReadingStore::addVisit(const QString& key, const QString& title, const QDateTime& when) {
    inTransaction([&] {
        SqliteStatement earlier(db_, path_,
                                QStringLiteral("DELETE FROM historico WHERE chave = ?1"));
        earlier.bind(1, key);
        earlier.step();
        SqliteStatement insert(
            db_, path_,
            QStringLiteral("INSERT INTO historico (chave, titulo, quando) VALUES (?1,?2,?3)"));
        insert.bind(1, key);
        insert.bind(2, title);
        insert.bind(3, stamp(when));
        insert.step();
        SqliteStatement oldest(
            db_, path_,
            QStringLiteral("DELETE FROM historico WHERE id NOT IN "
                           "(SELECT id FROM historico ORDER BY id DESC LIMIT ?1)"));
        oldest.bind(1, qint64{kMostVisits});
        oldest.step();
    });
}

QList<ReadingEntry> ReadingStore::visits() const {
    return entries(
        QStringLiteral("SELECT id, chave, titulo, '', quando FROM historico ORDER BY id DESC"));
}

QList<ReadingEntry> ReadingStore::entries(const QString& sql) const {
    SqliteStatement query(db_, path_, sql);
    QList<ReadingEntry> found;
    while (query.step()) {
        found.append({query.integer(0), query.text(1).value_or(QString()),
                      query.text(2).value_or(QString()), query.text(3).value_or(QString()),
                      QDateTime::fromString(query.text(4).value_or(QString()), Qt::ISODate)});
    }
    return found;
}

}  // namespace lumera
