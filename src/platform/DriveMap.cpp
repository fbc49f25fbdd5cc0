#include "platform/DriveMap.h"

#include <QDir>
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

// The 8.3 base of a long name: no blanks or dots, upper case.
QString shortBase(const QString& longName) {
    QString base = longName;
    const qsizetype dot = base.lastIndexOf(u'.');
    if (dot > 0) base.truncate(dot);
    base.remove(u' ').remove(u'.');
    return base.toUpper();
}

QString shortExtension(const QString& longName) {
    const qsizetype dot = longName.lastIndexOf(u'.');
    if (dot <= 0) return {};
    return longName.mid(dot + 1).left(3).toUpper();
}

QString matchShortName(const QStringList& entries, const QString& component) {
    static const QRegularExpression shortName(
        QStringLiteral("^([^~.]{1,6})~([0-9]+)(?:\\.([^.]{0,3}))?$"));
    const auto m = shortName.match(component);
    if (!m.hasMatch()) return {};
    const QString prefix = m.captured(1).toUpper();
    const QString ext = m.captured(3).toUpper();
    const int number = m.captured(2).toInt();
    QStringList candidates;
    for (const QString& entry : entries) {
        if (shortBase(entry).startsWith(prefix) && shortExtension(entry) == ext) {
            candidates.append(entry);
        }
    }
    // Windows numbers them in creation order, which a copy of the files no
    // longer knows; name order is the best stable guess.
    std::sort(candidates.begin(), candidates.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    if (number < 1 || number > candidates.size()) return {};
    return candidates.at(number - 1);
}

}  // namespace

QString MatchDirectoryEntry(const QString& dir, const QString& component) {
    if (QFileInfo::exists(dir + u'/' + component)) return component;
    const QStringList entries = QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(component, Qt::CaseInsensitive) == 0) return entry;
    }
    return matchShortName(entries, component);
}

std::optional<DriveMap::Mapping> DriveMap::parseMapping(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^\\s*([A-Za-z]):?=(.+)$"));
    const auto m = form.match(text);
    if (!m.hasMatch()) return std::nullopt;
    return Mapping{m.captured(1).at(0).toUpper(), m.captured(2).trimmed()};
}

bool DriveMap::map(QChar drive, const QString& directory) {
    const QString dir = canonicalDir(directory);
    if (dir.isEmpty()) return false;
    drives_.insert(drive.toUpper(), dir);
    return true;
}

bool DriveMap::isMapped(QChar drive) const { return drives_.contains(drive.toUpper()); }

QString DriveMap::directoryOf(QChar drive) const { return drives_.value(drive.toUpper()); }

bool DriveMap::holdsMedium(QChar drive) const {
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

QString DriveMap::mapMountedMedium(QChar drive, const QStringList& roots) {
    for (const QString& root : roots) {
        QStringList mediums{root};
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
            if (medium == root) continue;
            if (!MatchDirectoryEntry(medium, QStringLiteral("lex2000")).isEmpty() &&
                map(drive, medium)) {
                return directoryOf(drive);
            }
        }
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

DriveMap::Located DriveMap::locate(const QString& path, bool mustExist) const {
    // No file name holds a NUL; the file system would see the path cut there.
    if (path.contains(QChar(u'\0'))) return {};
    QChar drive;
    QString rest;
    QString root;
    QString relative;
    if (splitDrivePath(path, &drive, &rest)) {
        root = drives_.value(drive);
        relative = rest;
    } else {
        QString posix = path;
        if (posix.startsWith(u"file://", Qt::CaseInsensitive)) {
            posix = QUrl(posix).toLocalFile();
        }
        if (posix.isEmpty() || posix.contains(u'\\')) return {};
        // cleanPath resolves "..", so a path that leaves every root finds none.
        const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(posix));
        root = rootFor(absolute);
        if (root.isEmpty()) return {};
        relative = absolute.mid(root.size());
    }
    if (root.isEmpty()) return {};

    QStringList components;
    for (const QString& part : relative.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u".") continue;
        if (part == u"..") {
            if (components.isEmpty()) return {};  // would leave the root
            components.removeLast();
            continue;
        }
        components.append(part);
    }
    if (components.isEmpty()) return mustExist ? Located{root, root} : Located{};
    return locateInRoot(root, components, mustExist);
}

QChar DriveMap::driveHolding(const QString& rootedPath) const {
    QList<QChar> letters = drives_.keys();
    std::sort(letters.begin(), letters.end());
    for (const QChar drive : letters) {
        if (!existingFile(QString(drive) + u':' + rootedPath).isEmpty()) return drive;
    }
    return {};
}

QString DriveMap::existingFile(const QString& path) const { return locate(path, true).local; }

bool DriveMap::isFile(const QString& path) const {
    const QString local = existingFile(path);
    return !local.isEmpty() && QFileInfo(local).isFile();
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
