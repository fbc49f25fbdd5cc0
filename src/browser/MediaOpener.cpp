#include "browser/MediaOpener.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>

#include "browser/DriveUrls.h"
#include "media/DriveMap.h"

namespace lumera {

MediaOpener::MediaOpener(const DriveMap& drives, QObject* parent)
    : QObject(parent), drives_(drives) {}

bool MediaOpener::open(const QUrl& url) {
    const QString path =
        driveurls::toNavigationText(url.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment));
    QString local = drives_.existingFile(path);
    if (local.isEmpty() || !QFileInfo(local).isFile()) {
        if (!copies_.isValid()) return false;
        local = copies_.filePath(QFileInfo(url.path()).fileName());
        if (!drives_.copyFile(path, local)) return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(local));
}

}  // namespace lumera
