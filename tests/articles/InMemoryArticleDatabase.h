#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "host/ArticleDatabase.h"

namespace lumera::testing {

// One stored row: column name to value, nullopt for NULL.
using Row = std::map<QString, std::optional<QString>>;

inline bool sameText(const std::optional<QString>& a, const std::optional<QString>& b) {
    if (!a || !b) return !a && !b;
    return a->compare(*b, Qt::CaseInsensitive) == 0;
}

class InMemoryRecordset : public Recordset {
  public:
    explicit InMemoryRecordset(std::vector<Row> rows) : rows_(std::move(rows)) {}

    bool atEnd() const override { return position_ >= rows_.size(); }
    std::optional<QString> value(const QString& column) const override {
        if (atEnd()) throw DatabaseError(QStringLiteral("Nenhum registro atual."));
        for (const auto& [name, value] : rows_[position_]) {
            if (name.compare(column, Qt::CaseInsensitive) == 0) return value;
        }
        throw DatabaseError(QStringLiteral("Coluna desconhecida: %1").arg(column));
    }
    void moveFirst() override { position_ = 0; }
    void moveNext() override {
        if (!atEnd()) ++position_;
    }
    void close() override {}

  private:
    std::vector<Row> rows_;
    std::size_t position_ = 0;
};

// The tables of the article database, in their stored order, and a record of
// what the requests asked for.
struct ArticleTables {
    std::vector<Row> databaseV;
    std::vector<Row> fotos;
    bool fotosTableExists = true;
    std::optional<QString> openFailure;

    QStringList openedFiles;
    QStringList articleKeys;
    QStringList mediaTitles;
    int openDatabases = 0;
    int mostOpenAtOnce = 0;

    void addArticle(const QString& key, const QString& text) {
        databaseV.push_back({{"Arquivo", key}, {"Titulo", key}, {"Verbete", text}});
    }
    void addMedia(const QString& item, const QString& caption, const std::optional<QString>& tipo,
                  const QString& param, const QString& file, const QString& format) {
        fotos.push_back({{"Classe", QStringLiteral("c")},
                         {"Item", item},
                         {"Caption", caption},
                         {"Tipo", tipo},
                         {"Param", param},
                         {"File", file},
                         {"Right2", QStringLiteral("r")},
                         {"Format", format}});
    }
};

// Answers as Jet does: text equality ignores letter case, NULL equals
// nothing, DISTINCT keeps the first of equal rows.
class InMemoryArticleDatabase : public ArticleDatabase {
  public:
    explicit InMemoryArticleDatabase(ArticleTables& tables) : tables_(tables) {
        tables_.mostOpenAtOnce = std::max(tables_.mostOpenAtOnce, ++tables_.openDatabases);
    }
    ~InMemoryArticleDatabase() override { close(); }
    InMemoryArticleDatabase(const InMemoryArticleDatabase&) = delete;
    InMemoryArticleDatabase& operator=(const InMemoryArticleDatabase&) = delete;

    std::unique_ptr<Recordset> articleQuery(const QString& key) override {
        tables_.articleKeys.append(key);
        std::vector<Row> rows;
        for (const Row& row : tables_.databaseV) {
            const auto arquivo = row.find(QStringLiteral("Arquivo"));
            if (arquivo != row.end() && sameText(arquivo->second, key)) rows.push_back(row);
        }
        return std::make_unique<InMemoryRecordset>(std::move(rows));
    }

    std::unique_ptr<Recordset> mediaQuery(const QString& title) override {
        tables_.mediaTitles.append(title);
        if (!tables_.fotosTableExists) {
            throw DatabaseError(QStringLiteral("A tabela Fotos não existe."));
        }
        static const QStringList selected = {"Classe", "Item", "Caption", "Tipo",
                                             "Param",  "File", "Right2",  "Format"};
        std::vector<Row> rows;
        for (const Row& row : tables_.fotos) {
            if (!sameText(row.at(QStringLiteral("Item")), title)) continue;
            Row projected;
            for (const QString& column : selected) projected[column] = row.at(column);
            const bool seen = std::any_of(rows.begin(), rows.end(), [&](const Row& kept) {
                return std::all_of(selected.begin(), selected.end(), [&](const QString& column) {
                    return sameText(kept.at(column), projected.at(column));
                });
            });
            if (!seen) rows.push_back(std::move(projected));
        }
        return std::make_unique<InMemoryRecordset>(std::move(rows));
    }

    void close() override {
        if (open_) --tables_.openDatabases;
        open_ = false;
    }

  private:
    ArticleTables& tables_;
    bool open_ = true;
};

class InMemoryDatabaseOpener : public ArticleDatabaseOpener {
  public:
    explicit InMemoryDatabaseOpener(ArticleTables& tables) : tables_(tables) {}
    std::unique_ptr<ArticleDatabase> open(const QString& localPath) override {
        tables_.openedFiles.append(localPath);
        if (tables_.openFailure) throw DatabaseError(*tables_.openFailure);
        return std::make_unique<InMemoryArticleDatabase>(tables_);
    }

  private:
    ArticleTables& tables_;
};

}  // namespace lumera::testing
