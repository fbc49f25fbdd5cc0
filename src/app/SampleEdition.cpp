#include "app/SampleEdition.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/LexIni.h"

namespace lumera {
namespace {

const QString kStampFile = QStringLiteral(".lumera-sample");

QString readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Copies every file below from into to, which must not exist yet.
bool copyTree(const QString& from, const QString& to) {
    QDirIterator files(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(source));
        if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::copy(source, target)) {
            return false;
        }
        // Installed files may be read-only; the reader rewrites some of these.
        QFile(target).setPermissions(QFile(target).permissions() | QFile::WriteOwner);
    }
    return true;
}

}  // namespace

SampleEdition::SampleEdition(const QString& installed, const QString& userCopy)
    : installed_(installed), userCopy_(userCopy) {}

QString SampleEdition::installedBeside(const QString& programFolder) {
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/lumera/sample"));
}

QString SampleEdition::defaultUserCopy() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/lumera/sample");
}

// What the copy was made from: the installed database's size and time.
QString SampleEdition::stamp() const {
    const QFileInfo database(installed_ + QStringLiteral("/lex/lex.mdb"));
    return QStringLiteral("%1 %2\n")
        .arg(database.size())
        .arg(database.lastModified().toSecsSinceEpoch());
}

bool SampleEdition::isInstalled() const {
    return QFileInfo::exists(installed_ + QStringLiteral("/lex/lex.ini"));
}

QString SampleEdition::prepare() const {
    const QString source = installed_ + QStringLiteral("/lex");
    if (!isInstalled()) {
        return QStringLiteral("A edição de amostra não está instalada em %1.")
            .arg(QDir::toNativeSeparators(installed_));
    }
    if (readAll(QDir(userCopy_).filePath(kStampFile)) == stamp()) return {};
    // Made beside the copy and put in its place whole, so that an
    // interrupted copy is never run.
    const QString fresh = userCopy_ + QStringLiteral(".new");
    QDir(fresh).removeRecursively();
    QFile stampFile(QDir(fresh).filePath(kStampFile));
    const bool copied = copyTree(source, fresh) && stampFile.open(QIODevice::WriteOnly) &&
                        stampFile.write(stamp().toUtf8()) > 0;
    stampFile.close();
    if (!copied || !QDir(userCopy_).removeRecursively() || !QDir().rename(fresh, userCopy_)) {
        QDir(fresh).removeRecursively();
        return QStringLiteral("Não foi possível copiar a edição de amostra para %1.")
            .arg(QDir::toNativeSeparators(userCopy_));
    }
    return {};
}

QString SampleEdition::driveMapping() const {
    QFile ini(QDir(userCopy_).filePath(QStringLiteral("lex.ini")));
    const QString letter =
        ini.open(QIODevice::ReadOnly) ? ParseLexIni(ini.readAll()).CdRomPath.left(2) : QString();
    return (letter.isEmpty() ? QStringLiteral("D:") : letter) + u'=' + installed_ +
           QStringLiteral("/cd");
}

}  // namespace lumera
