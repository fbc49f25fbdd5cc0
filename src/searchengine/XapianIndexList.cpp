#include "searchengine/XapianIndexList.h"

#include <xapian.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include "searchengine/XapianIndexFiles.h"
#include "searchengine/XapianTextFolding.h"

namespace lumera {
namespace {

const QString kStagingPrefix = QStringLiteral(".novo-");
const QString kRetiredPrefix = QStringLiteral(".antigo-");

bool isDrivePath(const QString& entry) {
    return entry.size() >= 2 && entry[0].isLetter() && entry[1] == u':';
}

QString localFolderFor(const QString& entry, const QDir& listDir,
                       const ProgramPathResolver& resolveDrivePath) {
    if (isDrivePath(entry)) return resolveDrivePath ? resolveDrivePath(entry) : QString();
    QString relative = entry;
    relative.replace(u'\\', u'/');
    return QDir::cleanPath(listDir.filePath(relative));
}

bool removeTree(const QString& path) { return QDir(path).removeRecursively(); }

}  // namespace

IndexListReading readIndexList(const QString& localListFile,
                               const ProgramPathResolver& resolveDrivePath) {
    IndexListReading reading;
    QFile file(localListFile);
    if (!file.open(QIODevice::ReadOnly)) {
        reading.error = QStringLiteral("cannot read the index list %1: %2")
                            .arg(localListFile, file.errorString());
        return reading;
    }
    const QDir listDir = QFileInfo(localListFile).absoluteDir();
    const QString text = QString::fromUtf8(file.readAll());
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("[\r\n]")))) {
        const QString entry = line.trimmed();
        if (entry.isEmpty()) continue;
        const QString folder = localFolderFor(entry, listDir, resolveDrivePath);
        if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
            reading.error = QStringLiteral("the index list %1 names %2, which is not a folder")
                                .arg(localListFile, entry);
            reading.folders.clear();
            return reading;
        }
        reading.folders.append(folder);
    }
    if (reading.folders.isEmpty()) {
        reading.error = QStringLiteral("the index list %1 names no index").arg(localListFile);
    }
    return reading;
}

bool IsSearchIndexUsable(const QString& localListFile) {
    const IndexListReading list = readIndexList(localListFile);
    if (!list.error.isEmpty() || list.folders.isEmpty()) return false;
    try {
        for (const QString& folder : list.folders) {
            if (IndexFiles::open(folder).index.get_doccount() == 0) return false;
        }
    } catch (const Xapian::Error&) {
        return false;
    } catch (const IndexFiles::Missing&) {
        return false;
    }
    return true;
}

bool writeIndexList(const QString& localListFile, const QStringList& entries, QString* error) {
    QSaveFile file(localListFile);
    if (file.open(QIODevice::WriteOnly)) {
        for (const QString& entry : entries) file.write(entry.toUtf8() + '\n');
        if (file.commit()) return true;
    }
    if (error) *error = file.errorString();
    return false;
}

StagedIndex::StagedIndex(const QString& installDir, const QString& folderName,
                         const QString& listFileName)
    : installDir_(QDir(installDir).absolutePath()),
      folderName_(folderName),
      listFileName_(listFileName) {
    if (!QFileInfo(installDir_).isDir()) {
        error_ = QStringLiteral("%1 is not a folder").arg(installDir_);
        return;
    }
    removeLeftovers();
    staging_ = std::make_unique<QTemporaryDir>(
        QDir(installDir_).filePath(u'.' + folderName_ + kStagingPrefix + QStringLiteral("XXXXXX")));
    if (!staging_->isValid()) {
        error_ = staging_->errorString();
        staging_.reset();
    }
}

StagedIndex::~StagedIndex() = default;

QString StagedIndex::buildPath() const {
    return staging_ ? staging_->filePath(QStringLiteral("db")) : QString();
}

QString StagedIndex::installedPath() const { return QDir(installDir_).filePath(folderName_); }

bool StagedIndex::install() {
    if (!staging_) return false;
    const QString target = installedPath();
    QDir dir(installDir_);
    // The old index steps aside first so that a failed move can bring it back.
    QString retired;
    if (QFileInfo::exists(target)) {
        retired = dir.filePath(u'.' + folderName_ + kRetiredPrefix +
                               QFileInfo(staging_->path()).fileName().right(6));
        if (!dir.rename(target, retired)) {
            error_ = QStringLiteral("cannot move %1 aside").arg(target);
            return false;
        }
    }
    if (!dir.rename(buildPath(), target)) {
        error_ = QStringLiteral("cannot move the new index to %1").arg(target);
        if (!retired.isEmpty()) dir.rename(retired, target);
        return false;
    }
    if (!writeIndexList(dir.filePath(listFileName_), {folderName_}, &error_)) return false;
    if (!retired.isEmpty()) removeTree(retired);
    return true;
}

void StagedIndex::removeLeftovers() const { RemoveIndexLeftovers(installDir_, folderName_); }

void RemoveIndexLeftovers(const QString& installDir, const QString& folderName) {
    const QDir dir(installDir);
    const QStringList patterns = {u'.' + folderName + kStagingPrefix + u'*',
                                  u'.' + folderName + kRetiredPrefix + u'*'};
    for (const QString& name : dir.entryList(patterns, QDir::Dirs | QDir::Hidden)) {
        removeTree(dir.filePath(name));
    }
}

}  // namespace lumera
