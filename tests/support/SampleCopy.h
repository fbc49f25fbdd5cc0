#pragma once
// The sample edition copied for a suite that runs the whole reader: the CD
// with every name in capitals, as a plain ISO 9660 disc has them, so every
// page and picture must be found ignoring case; and its installation folder.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <functional>

namespace lumera::testing {

// Copies a tree, each relative path passed through rename.
inline bool copyTree(const QString& from, const QString& to,
                     const std::function<QString(QString)>& rename) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + u'/' + rename(QDir(from).relativeFilePath(path));
        if (it.fileInfo().isDir()) {
            QDir().mkpath(target);
        } else if (!QFile::copy(path, target)) {
            return false;
        }
    }
    return true;
}

// Into dir: cd/ and install/.
inline bool copySample(const QDir& dir) {
    return copyTree(qEnvironmentVariable("LUMERA_SOURCE_DIR") + u"/content/sample/cd"_qs,
                    dir.filePath(u"cd"_qs), [](const QString& name) { return name.toUpper(); }) &&
           copyTree(qEnvironmentVariable("LUMERA_BUILD_DIR") + u"/sample"_qs,
                    dir.filePath(u"install"_qs), [](const QString& name) { return name; });
}

}  // namespace lumera::testing
