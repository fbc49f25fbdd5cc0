#include "media/DriveMap.h"

#include "media/EntryNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <algorithm>

namespace lumera {
namespace {

QString canonicalDir(const QString& dir) {
    const QFileInfo info(dir);
    if (!info.isDir()) return {};
    return info.canonicalFilePath();
}

}  // namespace

QString MatchDirectoryEntry(const QString& dir, const QString& component) {
    if (QFileInfo::exists(dir + u'/' + component)) return component;
    return MatchEntryName(
        QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                            QDir::Name),
        component);
}

std::optional<DriveMap::Mapping> DriveMap::parseMapping(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^\\s*([A-Za-z]):?=(.+)$"));
    const auto m = form.match(text);
    if (!m.hasMatch()) return std::nullopt;
    return Mapping{m.captured(1).at(0).toUpper(), m.captured(2).trimmed()};
}

bool DriveMap::map(QChar drive, const QString& source) {
    drive = drive.toUpper();
    if (QFileInfo(source).isFile()) {
        auto image = DiscImage::open(source);
        if (!image) return false;
        drives_.remove(drive);
        images_.insert(drive, std::move(image));
        imageFiles_.insert(drive, QFileInfo(source).canonicalFilePath());
        return true;
    }
    const QString dir = canonicalDir(source);
    if (dir.isEmpty()) return false;
    images_.remove(drive);
    imageFiles_.remove(drive);
    drives_.insert(drive, dir);
    return true;
}

bool DriveMap::isMapped(QChar drive) const {
    return drives_.contains(drive.toUpper()) || images_.contains(drive.toUpper());
}

QString DriveMap::directoryOf(QChar drive) const {
    return drives_.value(drive.toUpper(), imageFiles_.value(drive.toUpper()));
}

bool DriveMap::holdsMedium(QChar drive) const {
    if (isImage(drive)) return QFileInfo(directoryOf(drive)).isFile();
    return isMapped(drive) && !QDir(directoryOf(drive)).isEmpty();
}

QStringList DriveMap::defaultMountRoots() {
    QStringList roots{QStringLiteral("/media"), QStringLiteral("/mnt")};
    for (const QString& user :
         QDir(QStringLiteral("/run/media")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        roots.append(QStringLiteral("/run/media/") + user);
    }
    return roots;
}

QStringList DriveMap::mountedMedia(const QStringList& roots) {
    QStringList found;
    for (const QString& root : roots) {
        QStringList mediums;
        // /media/cdrom and /media/<user>/<label> both occur.
        for (const QString& a :
             QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            mediums.append(root + u'/' + a);
            for (const QString& b :
                 QDir(root + u'/' + a).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
                mediums.append(root + u'/' + a + u'/' + b);
            }
        }
        for (const QString& medium : mediums) {
            if (!MatchDirectoryEntry(medium, QStringLiteral("lex2000")).isEmpty()) {
                found.append(medium);
            }
        }
    }
    return found;
}

QString DriveMap::mapMountedMedium(QChar drive, const QStringList& roots) {
    for (const QString& medium : mountedMedia(roots)) {
        if (map(drive, medium)) return directoryOf(drive);
    }
    return {};
}

void DriveMap::allowDirectory(const QString& directory) {
    const QString dir = canonicalDir(directory);
    if (!dir.isEmpty() && !allowed_.contains(dir)) allowed_.append(dir);
}

bool DriveMap::splitDrivePath(const QString& path, QChar* drive, QString* rest) {
    QString p = path;
    if (p.startsWith(u"file:", Qt::CaseInsensitive)) {
        p = QUrl::fromPercentEncoding(p.mid(5).toUtf8());
        while (p.startsWith(u'/') || p.startsWith(u'\\')) p.remove(0, 1);
    }
    if (p.size() < 2 || !p[0].isLetter() || p[0].unicode() > 0x7f || p[1] != u':') return false;
    if (p.size() > 2 && p[2] != u'\\' && p[2] != u'/') return false;
    *drive = p[0].toUpper();
    *rest = p.mid(2);
    rest->replace(u'\\', u'/');
    return true;
}

bool DriveMap::isInside(const QString& path, const QString& root) {
    return path == root || path.startsWith(root.endsWith(u'/') ? root : root + u'/');
}

QString DriveMap::rootFor(const QString& absolutePath) const {
    QString best;
    auto consider = [&](const QString& root) {
        if (isInside(absolutePath, root) && root.size() > best.size()) best = root;
    };
    for (const QString& root : allowed_) consider(root);
    for (const QString& root : drives_) consider(root);
    return best;
}

DriveMap::Located DriveMap::locateInRoot(const QString& root, const QStringList& components,
                                         bool mustExist) const {
    QString current = root;
    for (qsizetype i = 0; i < components.size(); ++i) {
        const QString& part = components[i];
        const bool last = i == components.size() - 1;
        QString entry = MatchDirectoryEntry(current, part);
        if (entry.isEmpty()) {
            if (mustExist || !last) return {};
            entry = part;  // a new file in an existing directory
        }
        current += u'/' + entry;
    }
    // Symbolic links must not lead out of the root.
    const QFileInfo info(current);
    const QString real =
        info.exists() ? info.canonicalFilePath()
                      : QFileInfo(info.absolutePath()).canonicalFilePath() + u'/' + info.fileName();
    if (!isInside(real, root)) return {};
    return {real, root};
}

std::optional<DriveMap::Split> DriveMap::split(const QString& path) const {
    Split result;
    QChar drive;
    QString relative;
    if (splitDrivePath(path, &drive, &relative)) {
        if (images_.contains(drive)) {
            result.imageDrive = drive;
        } else {
            result.root = drives_.value(drive);
        }
    } else {
        QString posix = path;
        if (posix.startsWith(u"file://", Qt::CaseInsensitive)) {
            posix = QUrl(posix).toLocalFile();
        }
        if (posix.isEmpty() || posix.contains(u'\\')) return std::nullopt;
        // cleanPath resolves "..", so a path that leaves every root finds none.
        const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(posix));
        result.root = rootFor(absolute);
        if (result.root.isEmpty()) return std::nullopt;
        relative = absolute.mid(result.root.size());
    }
    if (result.root.isEmpty() && result.imageDrive.isNull()) return std::nullopt;
    // No file name holds a NUL, typed or percent-encoded in a file: URL; the
    // file system would see the path cut there.
    if (relative.contains(QChar(u'\0'))) return std::nullopt;
    for (const QString& part : relative.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u".") continue;
        if (part == u"..") {
            if (result.components.isEmpty()) return std::nullopt;  // would leave the root
            result.components.removeLast();
            continue;
        }
        result.components.append(part);
    }
    return result;
}

DriveMap::Located DriveMap::locate(const QString& path, bool mustExist) const {
    const auto parts = split(path);
    if (!parts || parts->root.isEmpty()) return {};
    if (parts->components.isEmpty())
        return mustExist ? Located{parts->root, parts->root} : Located{};
    return locateInRoot(parts->root, parts->components, mustExist);
}

std::optional<DiscImage::Entry> DriveMap::imageEntry(const QString& path) const {
    const auto parts = split(path);
    if (!parts || parts->imageDrive.isNull()) return std::nullopt;
    return images_.value(parts->imageDrive)->find(parts->components);
}

QChar DriveMap::driveHolding(const QString& rootedPath) const {
    QList<QChar> letters = drives_.keys() + images_.keys();
    std::sort(letters.begin(), letters.end());
    for (const QChar drive : letters) {
        const QString path = QString(drive) + u':' + rootedPath;
        if (!existingFile(path).isEmpty() || imageEntry(path)) return drive;
    }
    return {};
}

QString DriveMap::existingFile(const QString& path) const { return locate(path, true).local; }

bool DriveMap::isFile(const QString& path) const {
    // A file whose extent runs past the image's end is listed but no file
    // to read: the reader shows its missing-file page for it.
    if (const auto entry = imageEntry(path)) {
        return !entry->directory && images_.value(split(path)->imageDrive)->holds(*entry);
    }
    const QString local = existingFile(path);
    return !local.isEmpty() && QFileInfo(local).isFile();
}

QString DriveMap::storedPath(const QString& path) const {
    const auto parts = split(path);
    if (!parts || !isFile(path)) return {};
    QChar drive = parts->imageDrive;
    QStringList names;
    if (!drive.isNull()) {
        images_.value(drive)->find(parts->components, &names);
    } else {
        drive = drives_.key(parts->root);
        names = existingFile(path).mid(parts->root.size()).split(u'/', Qt::SkipEmptyParts);
    }
    return drive.isNull() ? QString() : QString(drive) + QStringLiteral(":/") + names.join(u'/');
}

std::unique_ptr<QIODevice> DriveMap::openFile(const QString& path) const {
    if (const auto entry = imageEntry(path)) {
        return images_.value(split(path)->imageDrive)->openFile(*entry);
    }
    const QString local = existingFile(path);
    if (local.isEmpty() || !QFileInfo(local).isFile()) return nullptr;
    auto file = std::make_unique<QFile>(local);
    if (!file->open(QIODevice::ReadOnly)) return nullptr;
    return file;
}

bool DriveMap::copyFile(const QString& path, const QString& target) const {
    const auto from = openFile(path);
    QFile to(target);
    if (!from || !to.open(QIODevice::WriteOnly)) return false;
    char buffer[64 * 1024];
    for (qint64 n; (n = from->read(buffer, sizeof buffer)) > 0;) {
        if (to.write(buffer, n) != n) return false;
    }
    return from->atEnd() && to.flush();
}

QStringList DriveMap::entryNames(const QString& directoryPath, int filters) const {
    if (const auto parts = split(directoryPath); parts && !parts->imageDrive.isNull()) {
        const DiscImage& image = *images_.value(parts->imageDrive);
        QStringList names;
        const auto directory = image.find(parts->components, &names);
        const auto entries = directory ? image.list(names) : std::nullopt;
        if (!entries) return {};
        QStringList found;
        for (const DiscImage::Entry& entry : *entries) {
            if (filters & (entry.directory ? QDir::Dirs : QDir::Files)) found.append(entry.name);
        }
        found.sort(Qt::CaseInsensitive);
        return found;
    }
    const QString local = existingFile(directoryPath);
    if (local.isEmpty()) return {};
    return QDir(local).entryList(QDir::Filters(filters) | QDir::NoDotAndDotDot, QDir::Name);
}

QString DriveMap::writableFile(const QString& path) const { return locate(path, false).local; }

QString DriveMap::absolutePath(const QString& path) const {
    if (const QString found = existingFile(path); !found.isEmpty()) return found;
    QChar drive;
    QString rest;
    if (!splitDrivePath(path, &drive, &rest)) {
        return QDir::cleanPath(QDir::current().absoluteFilePath(path));
    }
    return isMapped(drive) ? QDir::cleanPath(directoryOf(drive) + u'/' + rest) : path;
}

}  // namespace lumera
