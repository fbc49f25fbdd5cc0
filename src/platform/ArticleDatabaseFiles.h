#pragma once

#include "host/ArticleDatabase.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace lumera {

class JetKeyLookups;
class WindowSystem;

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

// Opens lex.mdb as a Jet (Access 97 to 2003) or a SQLite file, chosen by the
// file's header, so editions of either kind are read the same way.
class ArticleDatabaseFiles : public ArticleDatabaseOpener {
  public:
    // Jet files are read through their key lookups, made on first use when
    // missing, with the busy pointer of windows if given.
    explicit ArticleDatabaseFiles(WindowSystem* windows = nullptr);
    ~ArticleDatabaseFiles() override;

    std::unique_ptr<ArticleDatabase> open(const QString& localPath) override;
    // The same, with the article table walk for the indexer; a Jet file is
    // read through lookups when given, and walked otherwise. Throws DatabaseError.
    static std::unique_ptr<ArticleDatabaseFile> openFile(const QString& localPath,
                                                         JetKeyLookups* lookups = nullptr);
    // Makes beside the file what its queries use when it is there: a Jet
    // file's key lookup (nothing for SQLite, whose own indexes serve). False
    // when it cannot be written; throws DatabaseError for an unreadable file.
    static bool prepareLookups(const QString& localPath);

  private:
    std::unique_ptr<JetKeyLookups> lookups_;
};

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
