#include "edition/ArticleIndexer.h"

#include "articles/ArticleText.h"

namespace lumera {

ArticleIndexer::ArticleIndexer(ArticleTableScan& table, const PageFolders& pages, QString cdRomPath)
    : table_(table), pages_(pages), cdRomPath_(std::move(cdRomPath)) {}

int ArticleIndexer::countArticles() {
    int rows = 0;
    table_.forEachArticle([&rows](const ArticleRow&) {
        ++rows;
        return true;
    });
    return rows;
}

IndexSummary ArticleIndexer::indexInto(ShardedIndexBuilder& builder,
                                       const std::function<void(int done)>& progress) {
    IndexSummary summary;
    int done = 0;
    table_.forEachArticle([&](const ArticleRow& row) {
        bool placedByDefault = false;
        if (builder.add(recordFor(row, &placedByDefault))) {
            ++summary.articles;
            if (placedByDefault) ++summary.unplaced;
        } else {
            ++summary.repeated;
        }
        if (progress) progress(++done);
        return true;
    });
    return summary;
}

IndexRecord ArticleIndexer::recordFor(const ArticleRow& row, bool* placedByDefault) const {
    return {row.arquivo, titleOf(row, cdRomPath_), row.verbete, folderFor(row, placedByDefault)};
}

QString ArticleIndexer::titleOf(const ArticleRow& row, const QString& cdRomPath) {
    // The title the page shows, so that a result and its page agree, but
    // with its apostrophes: the page drops them only for its media query. A
    // text without a title line gives the page no title; a list of titles
    // then shows the stored one rather than a blank line.
    QString title = listedTitle(row.verbete, cdRomPath);
    if (title.trimmed().isEmpty()) title = row.titulo;
    return title;
}

QString ArticleIndexer::folderFor(const ArticleRow& row, bool* placedByDefault) const {
    if (row.tomo && !row.tomo->trimmed().isEmpty()) return row.tomo->trimmed();
    const QString found = pages_.folderOf(row.arquivo);
    if (!found.isEmpty()) return found;
    if (placedByDefault) *placedByDefault = true;
    return kDefaultFolder;
}

}  // namespace lumera
