#pragma once
// Disc images made from a folder with xorriso, as a CD's owner makes them.

#include <QProcess>
#include <QString>
#include <QStringList>

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

}  // namespace lumera::testing
