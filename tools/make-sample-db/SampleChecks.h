#pragma once

#include <QStringList>
#include <QVector>

#include "SampleSources.h"

namespace lumera::sample {

// What keeps the sample edition one that shows every page feature and has no
// dead link: the articles (a long body, a title with an apostrophe, a picture
// the page assembly rewrites, keys equal to anchors, links to other articles),
// the media rows (known kinds and formats, an article for each, thumbnails of
// the size their format gives, linked pages on the CD), the page template
// (each placeholder once), and the text files of the CD (Windows-1252 with
// CR LF, every link found ignoring letter case, as the reader finds it).
// sampleDir holds lex.ini, modelo-final.htm and the CD tree cd/.
QStringList checkEdition(const QString& sampleDir, const QVector<ArticleSource>& articles,
                         const QVector<MediaRow>& media);

}  // namespace lumera::sample
