#include "browser/DriveUrls.h"

#include <QDir>
#include <QWebEngineUrlScheme>

#include "host/Windows1252.h"
#include "media/DriveMap.h"

namespace lumera::driveurls {

void registerSchemes() {
    for (char letter = 'c'; letter <= 'z'; ++letter) {
        QWebEngineUrlScheme scheme(QByteArray(1, letter));
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
        scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed |
                        QWebEngineUrlScheme::SecureScheme);
        QWebEngineUrlScheme::registerScheme(scheme);
    }
}

bool isDriveScheme(const QString& scheme) {
    return scheme.size() == 1 && scheme[0] >= u'c' && scheme[0] <= u'z';
}

QUrl toUrl(const QString& target) {
    QChar drive;
    QString rest;
    if (DriveMap::splitDrivePath(target, &drive, &rest)) {
        if (target.startsWith(u"file:", Qt::CaseInsensitive)) {
            // Already percent-encoded; keep query and fragment as they are.
            const QUrl file(target);
            QUrl url;
            url.setScheme(QString(drive.toLower()));
            url.setPath(file.path().mid(file.path().indexOf(u':') + 1));
            url.setQuery(file.query(QUrl::FullyEncoded), QUrl::StrictMode);
            if (file.hasFragment()) url.setFragment(file.fragment(QUrl::FullyEncoded));
            return url;
        }
        if (rest.isEmpty()) rest = QStringLiteral("/");
        return QUrl(QString(drive.toLower()) + u':' + rest, QUrl::TolerantMode);
    }
    if (target.startsWith(u"file:", Qt::CaseInsensitive) || target.contains(u"://") ||
        target.startsWith(u"about:") || target.startsWith(u"data:")) {
        return QUrl(target);
    }
    QString local = target;
    local.replace(u'\\', u'/');
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(local));
}

QString toNavigationText(const QUrl& url) {
    if (isDriveScheme(url.scheme())) {
        QString text = url.scheme().toUpper() + u':' + url.path(QUrl::FullyDecoded);
        text.replace(u'/', u'\\');
        if (url.hasQuery()) text += u'?' + url.query(QUrl::FullyEncoded);
        if (url.hasFragment()) text += u'#' + url.fragment(QUrl::FullyEncoded);
        return text;
    }
    if (url.isLocalFile()) {
        QString text = url.toLocalFile();
        if (url.hasQuery()) text += u'?' + url.query(QUrl::FullyEncoded);
        if (url.hasFragment()) text += u'#' + url.fragment(QUrl::FullyEncoded);
        return text;
    }
    return url.toString(QUrl::FullyEncoded);
}

bool formFieldValue(const QUrl& url, const QString& field, QString* value) {
    const QByteArray query = url.query(QUrl::FullyEncoded).toLatin1();
    const QByteArray key = field.toLatin1() + '=';
    for (const QByteArray& pair : query.split('&')) {
        if (!pair.startsWith(key)) continue;
        QByteArray raw = pair.mid(key.size());
        raw.replace('+', ' ');
        *value = windows1252::decode(QByteArray::fromPercentEncoding(raw));
        return true;
    }
    return false;
}

}  // namespace lumera::driveurls
