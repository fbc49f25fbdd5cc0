#include "media/DriveSetup.h"

#include <QDir>
#include <QFile>

#include "media/DriveMap.h"

namespace lumera {
namespace {

QString mappingProblem(const QString& text) {
    return QStringLiteral("Mapeamento de unidade inválido ou pasta inexistente: %1").arg(text);
}

}  // namespace

QStringList MapDrives(DriveMap& drives, const QStringList& driveOptions) {
    QStringList problems;
    for (const QString& option : driveOptions) {
        const auto mapping = DriveMap::parseMapping(option);
        if (!mapping || !drives.map(mapping->drive, mapping->directory)) {
            problems.append(mappingProblem(option));
        }
    }
    const QString fromEnvironment = qEnvironmentVariable("LUMERA_DRIVES");
    for (const QString& item : fromEnvironment.split(u';', Qt::SkipEmptyParts)) {
        const auto mapping = DriveMap::parseMapping(item);
        if (!mapping) {
            problems.append(mappingProblem(item));
        } else if (!drives.isMapped(mapping->drive) &&
                   !drives.map(mapping->drive, mapping->directory)) {
            problems.append(mappingProblem(item));
        }
    }
    // The set-up's saved drives come last: anything given on the way overrides them.
    QFile saved(kSavedDrivesFile);
    if (saved.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QString& line : QString::fromUtf8(saved.readAll()).split(u'\n')) {
            const auto mapping = DriveMap::parseMapping(line);
            if (!mapping || drives.isMapped(mapping->drive)) continue;
            if (!drives.map(mapping->drive, mapping->directory)) {
                problems.append(
                    QStringLiteral("O CD da enciclopédia não está mais em %1 (unidade %2:, "
                                   "gravada na instalação). Insira o CD ou indique onde ele está "
                                   "com --drive %2:=PASTA ou IMAGEM.")
                        .arg(mapping->directory, mapping->drive));
            }
        }
    }
    return problems;
}

QString LocateContent(DriveMap& drives, const QString& installPath, const QString& cdRomPath) {
    QChar drive;
    QString rest;
    if (DriveMap::splitDrivePath(installPath, &drive, &rest)) {
        // A Windows installation path reaches its files through its drive.
    } else if (!installPath.isEmpty()) {
        drives.allowDirectory(QDir::current().absoluteFilePath(installPath));
    } else {
        drives.allowDirectory(QDir::currentPath());
    }

    const QString& cd = cdRomPath;
    if (cd.size() < 1 || !cd[0].isLetter()) return {};
    if (drives.isMapped(cd[0])) return {};
    if (!drives.mapMountedMedium(cd[0]).isEmpty()) return {};
    return MissingCdMessage(cd[0]);
}

QString MissingCdMessage(QChar drive) {
    return QStringLiteral(
               "Não encontrei o CD-ROM da enciclopédia (unidade %1:). Insira o CD ou indique "
               "a pasta que o contém com --drive %1:=PASTA.")
        .arg(drive.toUpper());
}

}  // namespace lumera
