#pragma once
// What the database suites share: reading a record set or a whole file as
// text, to compare engines, lookups and walks row for row.

#include <QFile>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

#include "database/ArticleDatabaseFiles.h"
#include "database/JetKeyLookups.h"
#include "support/DatabaseFixtures.h"

namespace lumera::testing {

using namespace Qt::StringLiterals;

inline const QStringList kArticleColumns = {u"Arquivo"_s, u"Titulo"_s, u"Verbete"_s, u"Tomo"_s};
inline constexpr qsizetype kJet4Page = 4096;
// Every row left in the record set, NULLs read as empty text.
inline QList<QStringList> walk(Recordset& records, const QStringList& columns) {
    QList<QStringList> rows;
    for (; !records.atEnd(); records.moveNext()) {
        QStringList row;
        for (const QString& column : columns) row.append(records.field(column));
        rows.append(row);
    }
    return rows;
}

// Everything the reader and the indexer read from a file, as text; a Jet
// file's queries go through lookups when given.
inline QStringList readEverything(const QString& file, JetKeyLookups* lookups = nullptr) {
    const auto db = ArticleDatabaseFiles::openFile(file, lookups);
    QStringList seen;
    db->forEachArticle([&](const ArticleRow& row) {
        seen << row.arquivo << row.titulo << row.verbete << row.tomo.value_or(QString());
        for (const QString& key : {row.arquivo, row.titulo}) {
            for (const QStringList& media :
                 walk(*db->mediaQuery(key), articletables::kMediaColumns))
                seen << media;
        }
        seen << db->articleQuery(row.arquivo)->field(u"Verbete"_s);
        return true;
    });
    return seen;
}

// What this process has read from files so far, in bytes.
inline qint64 bytesRead() {
    QFile io(u"/proc/self/io"_s);
    if (!io.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : io.readAll().split('\n')) {
        if (line.startsWith("rchar:")) return line.mid(6).trimmed().toLongLong();
    }
    return 0;
}

// A copy of a database file in folder (made in dir), changed as change says.
inline QString changedCopy(const QTemporaryDir& dir, const QString& source, const QString& name,
                           const std::function<void(QByteArray&)>& change) {
    const QString target = dir.filePath(name);
    fixtures::writeChangedCopy(source, target, change);
    return target;
}

// A copy of a fixture as lex.mdb in a folder of its own, with its key lookup
// beside it unless lookup is false; empty when the lookup cannot be made.
inline QString copyWithLookup(const QTemporaryDir& dir, const QString& source,
                              const QString& folder, bool lookup = true) {
    QDir(dir.path()).mkpath(folder);
    const QString copy = changedCopy(dir, source, folder + u"/lex.mdb"_s, [](QByteArray&) {});
    return !lookup || JetKeyLookups::prepare(copy) ? copy : QString();
}

}  // namespace lumera::testing
