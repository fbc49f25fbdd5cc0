#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "articles/ArticleText.h"
#include "articles/MediaBlocks.h"
#include "host/ArticleDatabase.h"

namespace lumera {

// Fills the page template line by line with an article's parts and writes its
// see-also table and thumbnails where the template asks for them.
class PageComposer {
  public:
    PageComposer(const QString& cdRomPath, std::function<void()> yield);

    // The page lines for the template lines. Moves the media cursor.
    QStringList compose(const QStringList& templateLines, const ArticleParts& article,
                        Recordset& media) const;

    // The paragraph that leads back to the anchor "topo" of the template.
    static const QString kTopLink;
    // What the "Header" placeholder puts before the article title.
    static const QString kHeaderPrefix;

  private:
    QString cdRomPath_;
    std::function<void()> yield_;
    MediaBlockWriter mediaBlocks_;
};

// An article's whole page: its text (after the image rewrite) read into its
// parts, its media rows looked up by its title, the template filled. The
// reader's page and an exported one are made here alike. Throws DatabaseError.
QStringList composeArticlePage(
    ArticleDatabase& database, const QString& articleText, const QStringList& templateLines,
    const QString& cdRomPath, const std::function<void()>& yield = [] {});

}  // namespace lumera
