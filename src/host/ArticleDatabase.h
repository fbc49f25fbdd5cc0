#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <stdexcept>

namespace lumera {

// A failed database request: unreadable or corrupt file, missing table or
// column. The text is meant for the user (Portuguese).
class DatabaseError : public std::runtime_error {
  public:
    explicit DatabaseError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

  private:
    QString message_;
};

// A forward cursor over the rows of one query, in the order the engine
// delivers them (the table's stored order).
class Recordset {
  public:
    virtual ~Recordset() = default;
    // True when there is no current row.
    virtual bool atEnd() const = 0;
    // Value of a column of the current row, the name matched without regard
    // to case; nothing for a NULL. Throws DatabaseError for an unknown column
    // or when there is no current row.
    virtual std::optional<QString> value(const QString& column) const = 0;
    // The same, with a NULL read as empty text.
    QString field(const QString& column) const { return value(column).value_or(QString()); }
    virtual void moveFirst() = 0;
    virtual void moveNext() = 0;
    virtual void close() = 0;
};

// The article database, open for one article request.
class ArticleDatabase {
  public:
    virtual ~ArticleDatabase() = default;
    // All columns of the DatabaseV rows whose Arquivo equals key (letter case
    // ignored, NULL never equal).
    virtual std::unique_ptr<Recordset> articleQuery(const QString& key) = 0;
    // The DISTINCT rows (Classe, Item, Caption, Tipo, Param, File, Right2,
    // Format) of Fotos whose Item equals title, first delivered row of equal ones kept.
    virtual std::unique_ptr<Recordset> mediaQuery(const QString& title) = 0;
    virtual void close() = 0;
};

// Opens a database file of this machine; throws DatabaseError.
class ArticleDatabaseOpener {
  public:
    virtual ~ArticleDatabaseOpener() = default;
    virtual std::unique_ptr<ArticleDatabase> open(const QString& localPath) = 0;
};

}  // namespace lumera
