#include "app/EditionSetup.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace lumera::editionsetup {

QString DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/lumera/edition");
}

QString InstalledEdition() {
    const QString folder = DefaultFolder();
    return QFileInfo::exists(folder + QStringLiteral("/lex.ini")) ? folder : QString();
}

QString CdDriveOfTemplate(const QByteArray& templateBytes) {
    static const QRegularExpression address(QStringLiteral("\\b([A-Za-z]):[\\\\/]lex2000"),
                                            QRegularExpression::CaseInsensitiveOption);
    const auto m = address.match(QString::fromLatin1(templateBytes));
    return m.hasMatch() ? m.captured(1) + u':' : QStringLiteral("D:");
}

QByteArray LexIniText(const QString& folder, const QString& cdDrive) {
    QString path = QDir::cleanPath(folder);
    if (!path.endsWith(u'/')) path += u'/';
    return (QStringLiteral("PATH=") + path + QStringLiteral("\r\nCDROM=") + cdDrive +
            QStringLiteral("\r\n"))
        .toUtf8();
}

QByteArray SavedDriveText(const QString& cdDrive, const QString& source) {
    return (cdDrive.left(1).toUpper() + QStringLiteral(":=") + source + u'\n').toUtf8();
}

}  // namespace lumera::editionsetup
