#pragma once
// Disc images made from a folder with xorriso, as a CD's owner makes them.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

namespace lumera::testing {

// mkisofsOptions: "-J", "-R" (Joliet, Rock Ridge), "-iso-level", "1" (plain
// 8.3 names)... Returns false when xorriso fails or is missing.
inline bool makeDiscImage(const QString& tree, const QString& image,
                          const QStringList& mkisofsOptions) {
    QProcess xorriso;
    xorriso.start(QStringLiteral("xorriso"), QStringList{"-as", "mkisofs", "-quiet"} +
                                                 mkisofsOptions + QStringList{"-o", image, tree});
    return xorriso.waitForFinished(60000) && xorriso.exitStatus() == QProcess::NormalExit &&
           xorriso.exitCode() == 0;
}

// Changes the Joliet directory record of a name in an image: the record
// whose name (UTF-16 big-endian, after its length byte at 32) it is. False
// when the image has none.
inline bool changeJolietRecord(QByteArray& image, const QString& name,
                               const std::function<void(char* record)>& change) {
    QByteArray stored;
    for (const QChar c : name) {
        stored.append(char(c.unicode() >> 8));
        stored.append(char(c.unicode() & 0xFF));
    }
    for (qsizetype at = image.indexOf(stored); at >= 33; at = image.indexOf(stored, at + 1)) {
        if (uchar(image[at - 1]) != stored.size()) continue;  // a path table names it too
        change(image.data() + at - 33);
        return true;
    }
    return false;
}

}  // namespace lumera::testing
