#pragma once

#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "host/FileAccess.h"
#include "media/DiscImage.h"

class QIODevice;

namespace lumera {

// Maps the drive letters of the content's Windows paths to directories of
// this machine, or to disc images read in place. The CD's file system ignored letter case, and
// links upper-case their paths by design, so path components match without regard to case, and 8.3
// short names (progra~1) find their long entry. Nothing outside a mapped or allowed directory is
// ever resolved.
class DriveMap : public FileAccess {
  public:
    struct Mapping {
        QChar drive;  // upper case
        QString directory;
    };
    // "D:=/media/cdrom" (the colon is optional); nothing when malformed.
    static std::optional<Mapping> parseMapping(const QString& text);

    // source: a directory, or a disc image file (ISO 9660, BIN or CUE).
    // Returns false when it does not exist or is no image that can be read.
    bool map(QChar drive, const QString& source);
    bool isMapped(QChar drive) const;
    // Mapped to a folder that still holds something, or to an image: a
    // medium taken out or an image unmounted leaves its folder gone or empty.
    bool holdsMedium(QChar drive) const;
    // The directory or the image file a drive is mapped to.
    QString directoryOf(QChar drive) const;
    bool isImage(QChar drive) const { return images_.contains(drive.toUpper()); }
    // Maps drive to the first mounted medium under roots that holds a lex2000
    // folder; returns the directory found or empty.
    QString mapMountedMedium(QChar drive, const QStringList& roots = defaultMountRoots());
    // Every mounted medium under roots that holds a lex2000 folder.
    static QStringList mountedMedia(const QStringList& roots = defaultMountRoots());
    static QStringList defaultMountRoots();

    // POSIX paths are served only inside these directories (the installation).
    void allowDirectory(const QString& directory);

    // The first mapped drive (in letter order) that holds the drive-less
    // path "/lex2000/..."; a null QChar when none does.
    QChar driveHolding(const QString& rootedPath) const;

    // Only files of this machine: a path inside an image has no local file.
    QString existingFile(const QString& path) const override;
    bool isFile(const QString& path) const override;
    QString writableFile(const QString& path) const override;
    QString absolutePath(const QString& path) const override;

    // The drive path of a file with the names its folder or image holds
    // ("D:/lex2000/fotos/gota.htm" for "d:\\LEX2000\\FOTOS\\GOTA.HTM"), however
    // the path was written; empty when it names no readable file of a drive.
    QString storedPath(const QString& path) const;

    // Opened for reading, from a directory or an image; nothing when the
    // path names no file that may be read.
    std::unique_ptr<QIODevice> openFile(const QString& path) const;
    // Copies such a file to a file of this machine; false when it cannot be
    // read whole or the copy written.
    bool copyFile(const QString& path, const QString& target) const;
    // The names in a directory, from a directory or an image; filters as QDir's
    // (QDir::Dirs, QDir::Files).
    QStringList entryNames(const QString& directoryPath, int filters) const;

    // Splits "D:\x\y" or "D:/x/y" or "file:///D:/x/y"; false for other paths.
    static bool splitDrivePath(const QString& path, QChar* drive, QString* rest);

  private:
    // The local path for a program path, found or not; root is the directory
    // it must stay inside. Empty when it cannot be placed.
    struct Located {
        QString local;
        QString root;
    };
    Located locate(const QString& path, bool mustExist) const;
    // The root of a path (a mapped or allowed directory, or an image's drive)
    // and its components below it, ".." resolved; false when it leaves the root.
    struct Split {
        QString root;
        QChar imageDrive;
        QStringList components;
    };
    std::optional<Split> split(const QString& path) const;
    std::optional<DiscImage::Entry> imageEntry(const QString& path) const;
    Located locateInRoot(const QString& root, const QStringList& components, bool mustExist) const;
    QString rootFor(const QString& absolutePath) const;
    static bool isInside(const QString& path, const QString& root);

    QHash<QChar, QString> drives_;  // canonical directories
    QHash<QChar, std::shared_ptr<DiscImage>> images_;
    QHash<QChar, QString> imageFiles_;
    QStringList allowed_;  // canonical directories
};

// Finds the entry of dir that a path component names: exact, then ignoring
// case, then as a Windows 8.3 short name. Empty when there is none.
QString MatchDirectoryEntry(const QString& dir, const QString& component);

}  // namespace lumera
