#pragma once

#include <QHash>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

typedef struct _iso9660_s iso9660_t;

namespace lumera {

// A CD's file system read in place from its disc image: ISO 9660 with the
// Joliet names when the image has them (long Unicode names), else the Rock
// Ridge or plain names (";1" and a trailing dot dropped); an entry whose
// Joliet name makes no text keeps its other name. Also raw BIN images and a
// CUE sheet naming one. Nothing is mounted or copied; files are read by
// sector as they are read. An image is hostile input: every length and
// extent is checked against the image, and an entry that runs past its end
// is not listed.
class DiscImage : public std::enable_shared_from_this<DiscImage> {
  public:
    struct Entry {
        QString name;
        bool directory = false;
        quint32 sector = 0;  // first logical sector
        quint32 size = 0;    // bytes
    };

    // Nothing when the file is not an image that can be read.
    static std::shared_ptr<DiscImage> open(const QString& path);
    ~DiscImage();
    DiscImage(const DiscImage&) = delete;
    DiscImage& operator=(const DiscImage&) = delete;

    // The entries of the directory at a path of names as listed (no "." or
    // ".."); nothing when it is not a directory of the image.
    std::optional<QList<Entry>> list(const QStringList& directory) const;
    // The entry a path of components names, each matched like a name on the
    // CD (exact, then ignoring case, then as an 8.3 short name); the root
    // for an empty path. names, when given, receives the matched names.
    std::optional<Entry> find(const QStringList& components, QStringList* names = nullptr) const;
    // False when the entry's extent runs past the image's end: it cannot be read.
    bool holds(const Entry& entry) const;
    // A sequential device over a file's bytes, read as it is read.
    std::unique_ptr<QIODevice> openFile(const Entry& file) const;
    // Reads sectors into buffer; false when any of them lies past the image.
    bool readSectors(quint32 first, quint32 count, char* buffer) const;

  private:
    struct Record;

    DiscImage(iso9660_t* iso, qint64 fileSize);

    bool readLocked(quint32 first, quint32 count, char* buffer) const;
    std::optional<QList<Entry>> listLocked(const QStringList& directory) const;
    // The records of a Joliet directory: its folders whose extent lies in the
    // image, and its files.
    bool readRecords(const Entry& directory, std::vector<Record>& records) const;
    QString otherName(const Entry& entry, const QStringList& directory) const;
    std::optional<QStringList> primaryTwin(const QStringList& directory) const;
    // Whether the directories hold files of the same extents, one at least.
    bool sameFiles(const Entry& joliet, const QStringList& primary) const;
    // A directory of the Rock Ridge or plain names, as the library reads it.
    std::optional<QList<Entry>> listPrimary(const QStringList& directory) const;

    iso9660_t* iso_;
    quint32 sectors_;  // that the image holds
    std::optional<Entry> jolietRoot_;
    bool primarySound_;         // the plain names' tree can be handed to the library
    mutable std::mutex mutex_;  // the library's handle reads through one file position
    mutable QHash<QString, QList<Entry>> directories_;
    mutable QHash<QString, QList<Entry>> primaryDirectories_;
};

}  // namespace lumera
