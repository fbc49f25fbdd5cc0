#pragma once

#include <QString>
#include <QStringList>

#include "host/ArticleDatabase.h"

namespace lumera {

// Writes the two page blocks made from an article's media rows: the see-also
// table and the thumbnails, one page line per fragment.
class MediaBlockWriter {
  public:
    explicit MediaBlockWriter(const QString& cdRomPath);

    // Every media row of a known kind with icon, caption link and type label,
    // then the website row. Leaves the cursor on the first row if there is one.
    void writeSeeAlsoTable(Recordset& media, const QString& articleTitle, QStringList& page) const;

    // A thumbnail for every media row, whatever its kind, or "&nbsp;" when
    // there is none. Leaves the cursor at the end.
    void writeThumbnails(Recordset& media, QStringList& page) const;

    // The current row's Param upper-cased with ".JPG" turned into ".htm", so a
    // picture leads to its own page.
    QString mediaRowLink(const Recordset& media) const;

  private:
    QString mediaRow(const QString& caption, const QString& iconPath, const QString& label,
                     const QString& link) const;
    QString websiteRow(const QString& articleTitle) const;
    QString thumbnail(const Recordset& media) const;

    QString cdRomPath_;
};

}  // namespace lumera
