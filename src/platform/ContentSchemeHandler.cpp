#include "platform/ContentSchemeHandler.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>

#include "platform/DriveMap.h"
#include "platform/DriveUrls.h"

namespace lumera {

Q_LOGGING_CATEGORY(lcContent, "lumera.content")

namespace {

QByteArray mimeTypeFor(const QString& localPath) {
    const QString suffix = QFileInfo(localPath).suffix().toLower();
    // The content's pages declare their own charset; the suffix decides the rest.
    if (suffix == u"htm" || suffix == u"html" || suffix == u"asp") return "text/html";
    static const QMimeDatabase db;
    return db.mimeTypeForFile(localPath).name().toLatin1();
}

}  // namespace

ContentSchemeHandler::ContentSchemeHandler(const DriveMap& drives, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), drives_(drives) {}

void ContentSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    const QString path = url.scheme().toUpper() + u':' + url.path(QUrl::FullyDecoded);
    const QString local = drives_.existingFile(path);
    if (local.isEmpty() || !QFileInfo(local).isFile()) {
        qCDebug(lcContent) << "not found:" << path;
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* file = new QFile(local, job);
    if (!file->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::RequestFailed);
        return;
    }
    job->reply(mimeTypeFor(local), file);
}

OfflineGuard::OfflineGuard(const DriveMap& drives, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), drives_(drives) {}

bool OfflineGuard::allows(const QUrl& url, const DriveMap& drives) {
    const QString scheme = url.scheme();
    if (driveurls::isDriveScheme(scheme)) return true;
    if (scheme == u"data" || scheme == u"about" || scheme == u"blob") return true;
    if (url.isLocalFile()) return !drives.existingFile(url.toLocalFile()).isEmpty();
    return false;
}

void OfflineGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (!allows(info.requestUrl(), drives_)) {
        qCDebug(lcContent) << "blocked:" << info.requestUrl();
        info.block(true);
    }
}

}  // namespace lumera
