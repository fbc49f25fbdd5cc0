#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include "host/ArticleDatabase.h"

struct sqlite3;

namespace lumera {

// An article the reader keeps: a favourite (with its note) or a visit.
struct ReadingEntry {
    qint64 id = 0;
    QString key;  // the article's key, as the router asks for it
    QString title;
    QString note;
    QDateTime when;
};

// The reader's favourites and the articles it opened, in a small SQLite file.
// Every change is one transaction, committed before the call returns, so a
// process killed right after it keeps the change. Throws DatabaseError.
class ReadingStore {
  public:
    // Opens the file, making it and its folder when they are missing.
    explicit ReadingStore(const QString& file);
    ~ReadingStore();
    ReadingStore(const ReadingStore&) = delete;
    ReadingStore& operator=(const ReadingStore&) = delete;

    static constexpr int kMostVisits = 100;

    // The id of the new favourite.
    qint64 addFavourite(const QString& key, const QString& title, const QString& note,
                        const QDateTime& when = QDateTime::currentDateTime());
    void setNote(qint64 id, const QString& note);
    void removeFavourite(qint64 id);
    // Oldest first, as they were added.
    QList<ReadingEntry> favourites() const;

    // An article opened: first in the list, once, the oldest beyond
    // kMostVisits forgotten.
    void addVisit(const QString& key, const QString& title,
                  const QDateTime& when = QDateTime::currentDateTime());
    // Newest first.
    QList<ReadingEntry> visits() const;

  private:
    // Runs change inside BEGIN IMMEDIATE ... COMMIT, rolled back on an error.
    template <typename Change>
    void inTransaction(Change change);
    QList<ReadingEntry> entries(const QString& sql) const;

    QString path_;
    sqlite3* db_ = nullptr;
};

}  // namespace lumera
