// The drive map on any path: whatever it resolves lies inside the mapped CD
// directory or the installation folder, never beside them, though the tree
// holds links that point outside and a sibling folder whose name starts like
// the CD's. It changes the current directory, so libFuzzer must be given
// absolute corpus paths (fuzz/run does).

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "FuzzCheck.h"
#include "media/DriveMap.h"

using namespace lumera;

namespace {

struct Tree {
    QTemporaryDir base;
    QString cd;
    QString install;
    DriveMap map;

    Tree() {
        const QDir dir(base.path());
        for (const char* folder : {"cd/LEX2000/tomo98a", "cd/progra~1", "cd/Program Files", "cdx",
                                   "fora", "install/indice"}) {
            dir.mkpath(QString::fromLatin1(folder));
        }
        for (const char* file :
             {"cd/LEX2000/tomo98a/brasil.htm", "cd/LEX2000/inicio.htm", "cdx/segredo.txt",
              "fora/senha", "install/modelo-final.htm", "install/vf.htm"}) {
            QFile f(dir.filePath(QString::fromLatin1(file)));
            (void)f.open(QIODevice::WriteOnly);
        }
        QFile::link(dir.filePath(u"fora"_qs), dir.filePath(u"cd/LEX2000/atalho"_qs));
        QFile::link(dir.filePath(u"fora/senha"_qs), dir.filePath(u"cd/LEX2000/senha.htm"_qs));
        QFile::link(dir.filePath(u"fora/senha"_qs), dir.filePath(u"install/senha.htm"_qs));
        cd = QFileInfo(dir.filePath(u"cd"_qs)).canonicalFilePath();
        install = QFileInfo(dir.filePath(u"install"_qs)).canonicalFilePath();
        map.map(u'D', cd);
        map.allowDirectory(install);
        // Relative POSIX paths resolve against the installation folder, as
        // they do in the reader, which runs there.
        QDir::setCurrent(install);
    }

    bool inside(const QString& path) const {
        for (const QString& root : {cd, install}) {
            if (path == root || path.startsWith(root + u'/')) return true;
        }
        return false;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    static Tree tree;
    const QString path = QString::fromUtf8(fuzz::bytesOf(data, size));

    const QString existing = tree.map.existingFile(path);
    if (!existing.isEmpty()) {
        fuzz::check(!existing.contains(QChar(u'\0')), "existingFile gave a name with a NUL",
                    [&] { return path; });
        const QFileInfo info(existing);
        fuzz::check(info.exists(), "existingFile gave a missing file",
                    [&] { return path + QStringLiteral(" -> ") + existing; });
        fuzz::check(tree.inside(info.canonicalFilePath()), "existingFile left the mapped folders",
                    [&] { return path + QStringLiteral(" -> ") + info.canonicalFilePath(); });
    }

    const QString writable = tree.map.writableFile(path);
    if (!writable.isEmpty()) {
        // The file system would read the name only up to a NUL.
        fuzz::check(!writable.contains(QChar(u'\0')), "writableFile gave a name with a NUL",
                    [&] { return path; });
        const QFileInfo info(writable);
        const QString name = info.fileName();
        fuzz::check(!name.isEmpty() && name != u"." && name != u"..",
                    "writableFile gave no file name", path + QStringLiteral(" -> ") + writable);
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        fuzz::check(tree.inside(folder), "writableFile left the mapped folders",
                    [&] { return path + QStringLiteral(" -> ") + writable; });
        if (info.exists()) {
            fuzz::check(tree.inside(info.canonicalFilePath()),
                        "writableFile follows a link out of the mapped folders",
                        [&] { return path + QStringLiteral(" -> ") + info.canonicalFilePath(); });
        }
    }
    return 0;
}
