#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "database/ArticleDatabaseFiles.h"
#include "edition/PageFolders.h"
#include "searchengine/IndexBuilder.h"

namespace lumera {

struct IndexSummary {
    int articles = 0;  // documents written, one per distinct key
    int repeated = 0;  // later rows of a key already indexed
    int unplaced = 0;  // put in the default folder for want of a better one
};

// Turns the article table into index documents: one per distinct key (the
// first stored row of a key, letter case ignored), titled as its page is, and
// placed in the content folder its page lives in.
class ArticleIndexer {
  public:
    // Opens the table once more, for a thread that reads it beside the first.
    using TableOpener = std::function<std::unique_ptr<ArticleTableScan>()>;

    // cdRomPath: CdRomPath from lex.ini; the title rule needs it for titles
    // that hold image references. openAnother: none reads the table once.
    ArticleIndexer(ArticleTableScan& table, const PageFolders& pages, QString cdRomPath,
                   TableOpener openAnother = {});

    // One walk over the table: the rows, and which of them repeat a key.
    int countArticles();
    // done: rows read so far. Each slice of the builder reads its run of rows
    // on a table of its own. Throws DatabaseError and IndexBuildError.
    IndexSummary indexInto(IndexBuilder& builder, const std::function<void(int done)>& progress);

    // placedByDefault: set when neither the row nor the CD tree gave the folder.
    IndexRecord recordFor(const ArticleRow& row, bool* placedByDefault = nullptr) const;
    // The title the row's page shows, so that a result and its page agree.
    static QString titleOf(const ArticleRow& row, const QString& cdRomPath);

    // Where an article's page is when neither its row nor the CD tree says.
    static inline const QString kDefaultFolder = QStringLiteral("tomo98a");

  private:
    struct Progress;
    // Adds rows [first, end) but the repeated ones to slice, from table.
    void indexRun(ArticleTableScan& table, IndexBuilder& builder, int slice, int first, int end,
                  Progress& done, const std::function<void(int done)>& progress) const;
    QString folderFor(const ArticleRow& row, bool* placedByDefault) const;

    ArticleTableScan& table_;
    const PageFolders& pages_;
    QString cdRomPath_;
    TableOpener openAnother_;
    std::vector<bool> repeated_;  // by row, once counted
    bool counted_ = false;
};

}  // namespace lumera
