#pragma once

#include "host/ArticleDatabase.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace lumera {

// The tables and columns the reader relies on, the same in both engines.
namespace articletables {
inline const QString kArticles = QStringLiteral("DatabaseV");
inline const QString kKey = QStringLiteral("Arquivo");
inline const QString kTitle = QStringLiteral("Titulo");
inline const QString kText = QStringLiteral("Verbete");
inline const QString kVolume = QStringLiteral("Tomo");
inline const QString kMedia = QStringLiteral("Fotos");
inline const QString kMediaItem = QStringLiteral("Item");
// The columns of a media row, in the order the media record set delivers them.
inline const QStringList kMediaColumns = {QStringLiteral("Classe"),  QStringLiteral("Item"),
                                          QStringLiteral("Caption"), QStringLiteral("Tipo"),
                                          QStringLiteral("Param"),   QStringLiteral("File"),
                                          QStringLiteral("Right2"),  QStringLiteral("Format")};
}  // namespace articletables

// One DatabaseV row as the indexer needs it. A NULL reads as empty text.
struct ArticleRow {
    QString arquivo;
    QString titulo;
    QString verbete;
    // Empty when the table has no Tomo column.
    std::optional<QString> tomo;
};

// A walk over every DatabaseV row, in stored order.
class ArticleTableScan {
  public:
    virtual ~ArticleTableScan() = default;
    // Calls visit once per row until it returns false. Throws DatabaseError.
    virtual void forEachArticle(const std::function<bool(const ArticleRow&)>& visit) = 0;
};

// An article database file open for reading, whichever engine serves it.
class ArticleDatabaseFile : public ArticleDatabase, public ArticleTableScan {};

// The user-facing texts of the failures both engines report.
namespace databaseerrors {
DatabaseError cannotOpen(const QString& file, const QString& reason);
DatabaseError cannotRead(const QString& file, const QString& reason);
DatabaseError missingTable(const QString& file, const QString& table);
DatabaseError missingColumn(const QString& file, const QString& table, const QString& column);
DatabaseError unknownField(const QString& file, const QString& table, const QString& column);
DatabaseError noCurrentRow(const QString& file, const QString& table);
DatabaseError closed(const QString& file);
}  // namespace databaseerrors

}  // namespace lumera
