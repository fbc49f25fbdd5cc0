#pragma once

#include <QHash>
#include <QString>

namespace lumera {

class DriveMap;

// Which content folder of the CD tree holds a page, for articles whose table
// row does not say. The article folders come first (tomo98a, tomo98b,
// tomo98c), then the others in name order; the first folder holding a page
// of the name wins. Names match without regard to case, as on the CD.
class PageFolders {
  public:
    // contentPath: the CD's "\lex2000" as the drives reach it, a folder or
    // a disc image; empty or missing gives no pages at all.
    static PageFolders scan(const DriveMap& drives, const QString& contentPath);
    // Empty when no folder holds the page.
    QString folderOf(const QString& pageName) const;
    qsizetype pageCount() const { return folderByPage_.size(); }

  private:
    QHash<QString, QString> folderByPage_;  // lower-case page name → folder
};

}  // namespace lumera
