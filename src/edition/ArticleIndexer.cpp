#include "edition/ArticleIndexer.h"

#include <QSet>
#include <atomic>
#include <chrono>
#include <future>

#include "articles/ArticleText.h"

namespace lumera {

// What the runs have done, counted from their threads.
struct ArticleIndexer::Progress {
    std::atomic<int> rows{0};
    std::atomic<int> articles{0};
    std::atomic<int> unplaced{0};
    std::atomic<bool> stop{false};
};

ArticleIndexer::ArticleIndexer(ArticleTableScan& table, const PageFolders& pages, QString cdRomPath,
                               TableOpener openAnother)
    : table_(table),
      pages_(pages),
      cdRomPath_(std::move(cdRomPath)),
      openAnother_(std::move(openAnother)) {}

int ArticleIndexer::countArticles() {
    QSet<QString> keys;
    repeated_.clear();
    counted_ = true;
    table_.forEachArticle([&](const ArticleRow& row) {
        const QString key = row.arquivo.toLower();
        repeated_.push_back(keys.contains(key));
        keys.insert(key);
        return true;
    });
    return int(repeated_.size());
}

IndexSummary ArticleIndexer::indexInto(IndexBuilder& builder,
                                       const std::function<void(int done)>& progress) {
    const int rows = counted_ ? int(repeated_.size()) : countArticles();
    const int slices = openAnother_ ? builder.slices() : 1;
    Progress done;
    // The slices after the first read their runs on threads of their own; a
    // walk skips the rows before its run, which costs little beside indexing them.
    std::vector<std::future<void>> others;
    for (int slice = 1; slice < slices; ++slice) {
        others.push_back(std::async(std::launch::async, [&, slice] {
            const std::unique_ptr<ArticleTableScan> table = openAnother_();
            indexRun(*table, builder, slice, int(qint64(rows) * slice / slices),
                     int(qint64(rows) * (slice + 1) / slices), done, {});
        }));
    }
    try {
        indexRun(table_, builder, 0, 0, int(qint64(rows) / slices), done, progress);
        for (std::future<void>& other : others) {
            while (other.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
                if (progress) progress(done.rows);
            }
            other.get();
        }
    } catch (...) {
        done.stop = true;
        for (std::future<void>& other : others) {
            if (other.valid()) other.wait();
        }
        throw;
    }
    if (progress) progress(done.rows);
    IndexSummary summary;
    summary.articles = done.articles;
    summary.unplaced = done.unplaced;
    summary.repeated = rows - done.articles;
    return summary;
}

void ArticleIndexer::indexRun(ArticleTableScan& table, IndexBuilder& builder, int slice, int first,
                              int end, Progress& done,
                              const std::function<void(int)>& progress) const {
    int row = 0;
    table.forEachArticle([&](const ArticleRow& article) {
        if (done.stop || row >= end) return false;
        if (row >= first) {
            bool placedByDefault = false;
            if (!repeated_[std::size_t(row)] &&
                builder.add(slice, recordFor(article, &placedByDefault))) {
                ++done.articles;
                if (placedByDefault) ++done.unplaced;
            }
            ++done.rows;
            if (progress) progress(done.rows);
        }
        ++row;
        return true;
    });
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
