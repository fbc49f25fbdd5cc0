#include "browser/ContentSchemeHandler.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>

#include "browser/DriveUrls.h"
#include "browser/MissingFilePage.h"
#include "media/DriveMap.h"

namespace lumera {

Q_LOGGING_CATEGORY(lcContent, "lumera.content", QtWarningMsg)

namespace {

QByteArray mimeTypeFor(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    // The content's pages declare their own charset; the suffix decides the rest.
    if (suffix == u"htm" || suffix == u"html" || suffix == u"asp") return "text/html";
    static const QMimeDatabase db;
    return db.mimeTypeForFile(path, QMimeDatabase::MatchExtension).name().toLatin1();
}

}  // namespace

ContentSchemeHandler::ContentSchemeHandler(const DriveMap& drives, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), drives_(drives) {}

void ContentSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    const QString path = url.scheme().toUpper() + u':' + url.path(QUrl::FullyDecoded);
    std::unique_ptr<QIODevice> file = drives_.openFile(path);
    if (!file) {
        // Pages address CD content from the root ("/lex2000/gui/1px.gif");
        // from a page on another drive that is where the CD's copy lies.
        const QChar holder = drives_.driveHolding(url.path(QUrl::FullyDecoded));
        if (!holder.isNull())
            file = drives_.openFile(QString(holder) + u':' + url.path(QUrl::FullyDecoded));
    }
    if (!file) {
        qCDebug(lcContent) << "not found:" << path;
        replyMissing(job, drives_.isFile(path));
        return;
    }
    // The job owns the device; a file of a disc image is read as it is sent.
    file->setParent(job);
    job->reply(mimeTypeFor(path), file.release());
}

// A document like any other, so the navigation completes as it always did.
void ContentSchemeHandler::replyMissing(QWebEngineUrlRequestJob* job, bool unreadable) const {
    const QUrl url = job->requestUrl();
    const QChar drive = url.scheme().toUpper().front();
    const QString address =
        driveurls::toNavigationText(url.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment));
    auto* page = new QBuffer(job);
    page->setData(MissingFilePage({address, drive, !drives_.holdsMedium(drive), unreadable}));
    page->open(QIODevice::ReadOnly);
    job->reply("text/html", page);
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
    const QUrl url = info.requestUrl();
    if (allows(url, drives_)) return;
    if (url.isLocalFile()) {
        // A page in the installation folder addresses CD content from the
        // root ("/lex2000/gui/1px.gif"): serve it from the drive that has it.
        const QChar holder = drives_.driveHolding(url.path(QUrl::FullyDecoded));
        if (!holder.isNull()) {
            QUrl onDrive(url);
            onDrive.setScheme(QString(holder.toLower()));
            info.redirect(onDrive);
            return;
        }
    }
    qCDebug(lcContent) << "blocked:" << url;
    info.block(true);
}

}  // namespace lumera
