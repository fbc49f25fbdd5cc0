#include "search/ResultPaths.h"

namespace lumera {

QString ResultFileName(const QString& path) {
    const qsizetype lastBackslash = path.lastIndexOf(u'\\');
    return lastBackslash < 0 ? path : path.mid(lastBackslash + 1);
}

QString ResultFolderName(const QString& path, const QString& fileName) {
    QString folder = path;
    if (!fileName.isEmpty()) folder.remove(fileName, Qt::CaseSensitive);
    folder.remove(kIndexedContentRoot, Qt::CaseSensitive);
    folder.remove(QChar(u'\\'), Qt::CaseSensitive);
    return folder;
}

}  // namespace lumera
