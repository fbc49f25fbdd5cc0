#include "edition/PageFolders.h"

#include <QDir>

#include <algorithm>
#include "media/DriveMap.h"

namespace lumera {
namespace {

// The three article folders, in the order the content numbers them.
int folderRank(const QString& folder) {
    static const QStringList articleFolders = {QStringLiteral("tomo98a"), QStringLiteral("tomo98b"),
                                               QStringLiteral("tomo98c")};
    const auto found = articleFolders.indexOf(folder.toLower());
    return found < 0 ? int(articleFolders.size()) : int(found);
}

}  // namespace

PageFolders PageFolders::scan(const DriveMap& drives, const QString& contentPath) {
    PageFolders pages;
    if (contentPath.isEmpty()) return pages;
    QStringList folders = drives.entryNames(contentPath, QDir::Dirs);
    std::stable_sort(folders.begin(), folders.end(), [](const QString& a, const QString& b) {
        return folderRank(a) < folderRank(b);
    });
    for (const QString& folder : folders) {
        for (const QString& page : drives.entryNames(contentPath + u'\\' + folder, QDir::Files)) {
            const QString name = page.toLower();
            if (!pages.folderByPage_.contains(name)) pages.folderByPage_.insert(name, folder);
        }
    }
    return pages;
}

QString PageFolders::folderOf(const QString& pageName) const {
    return folderByPage_.value(pageName.toLower());
}

}  // namespace lumera
