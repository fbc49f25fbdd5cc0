#pragma once
// The real database engines with a record of what the requests asked of them:
// the test writes real rows (SQLite or Jet) and the page builder reads them
// the way the reader does.

#include <QStringList>
#include <algorithm>
#include <memory>

#include "database/ArticleDatabaseFiles.h"

namespace lumera::testing {

struct DatabaseRecord {
    QStringList openedFiles;
    QStringList articleKeys;
    QStringList mediaTitles;
    int open = 0;
    int mostOpenAtOnce = 0;
};

class RecordingDatabase : public ArticleDatabase {
  public:
    RecordingDatabase(std::unique_ptr<ArticleDatabase> real, DatabaseRecord& record)
        : real_(std::move(real)), record_(record) {
        record_.mostOpenAtOnce = std::max(record_.mostOpenAtOnce, ++record_.open);
    }
    ~RecordingDatabase() override { close(); }
    RecordingDatabase(const RecordingDatabase&) = delete;
    RecordingDatabase& operator=(const RecordingDatabase&) = delete;

    std::unique_ptr<Recordset> articleQuery(const QString& key) override {
        record_.articleKeys << key;
        return real_->articleQuery(key);
    }
    std::unique_ptr<Recordset> mediaQuery(const QString& title) override {
        record_.mediaTitles << title;
        return real_->mediaQuery(title);
    }
    void close() override {
        if (std::exchange(open_, false)) --record_.open;
        real_->close();
    }

  private:
    std::unique_ptr<ArticleDatabase> real_;
    DatabaseRecord& record_;
    bool open_ = true;
};

class RecordingOpener : public ArticleDatabaseOpener {
  public:
    DatabaseRecord record;
    std::unique_ptr<ArticleDatabase> open(const QString& localPath) override {
        record.openedFiles << localPath;
        return std::make_unique<RecordingDatabase>(ArticleDatabaseFiles().open(localPath), record);
    }
};

}  // namespace lumera::testing
