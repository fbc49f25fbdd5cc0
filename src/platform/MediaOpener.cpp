#include "platform/MediaOpener.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>

#include "platform/DriveMap.h"
#include "platform/DriveUrls.h"

namespace lumera {

MediaOpener::MediaOpener(const DriveMap& drives, QObject* parent)
    : QObject(parent), drives_(drives) {}

bool MediaOpener::open(const QUrl& url) {
    const QString path =
        driveurls::toNavigationText(url.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment));
    QString local = drives_.existingFile(path);
    if (local.isEmpty() || !QFileInfo(local).isFile()) {
        const auto device = drives_.openFile(path);
        if (!device || !copies_.isValid()) return false;
        local = copies_.filePath(QFileInfo(url.path()).fileName());
        QFile copy(local);
        if (!copy.open(QIODevice::WriteOnly)) return false;
        char buffer[64 * 1024];
        for (qint64 n; (n = device->read(buffer, sizeof buffer)) > 0;) copy.write(buffer, n);
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(local));
}

}  // namespace lumera
