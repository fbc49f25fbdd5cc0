#include "platform/DriveSetup.h"

#include <QDir>

#include "platform/DriveMap.h"

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
