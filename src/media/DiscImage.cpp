#include "media/DiscImage.h"

#include <cdio/iso9660.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <vector>

#include "media/EntryNames.h"

namespace lumera {
namespace {

constexpr qint64 kSectorSize = ISO_BLOCKSIZE;

// A CUE sheet names its data file on a FILE line, quoted or not. Only a file
// beside the sheet is read: the name is matched against the folder's files,
// exactly and then without regard to case as Windows, where sheets are
// written, matches it, so a path ("sub/x.bin", "../x.bin", "/x.bin") is
// no file of it.
QString dataFileOfCueSheet(const QString& cuePath) {
    QFile cue(cuePath);
    if (!cue.open(QIODevice::ReadOnly) || cue.size() > 64 * 1024) return {};
    static const QRegularExpression fileLine(QStringLiteral("^\\s*FILE\\s+(?:\"([^\"]+)\"|(\\S+))"),
                                             QRegularExpression::MultilineOption);
    const auto m = fileLine.match(QString::fromLocal8Bit(cue.readAll()));
    if (!m.hasMatch()) return {};
    const QString name = m.captured(1).isEmpty() ? m.captured(2) : m.captured(1);
    // A Windows path (..\x.bin, C:\x.bin) may be a whole file name here.
    if (name.contains(u'\\')) return {};
    const QDir folder = QFileInfo(cuePath).dir();
    const QStringList files = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    if (files.contains(name)) return folder.filePath(name);
    for (const QString& file : files) {
        if (file.compare(name, Qt::CaseInsensitive) == 0) return folder.filePath(file);
    }
    return {};
}

// One file of the image, read a run of sectors at a time.
class DiscImageFile : public QIODevice {
  public:
    DiscImageFile(std::shared_ptr<const DiscImage> image, const DiscImage::Entry& entry)
        : image_(std::move(image)), entry_(entry) {}

    qint64 size() const override { return entry_.size; }
    bool isSequential() const override { return false; }

  protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 start = pos();
        const qint64 wanted = std::min<qint64>(maxSize, qint64(entry_.size) - start);
        if (wanted <= 0) return 0;
        qint64 done = 0;
        while (done < wanted) {
            const qint64 offset = start + done;
            const qint64 sector = offset / kSectorSize;
            if (sector < bufferFirst_ || sector >= bufferFirst_ + bufferSectors_) {
                if (!fill(sector)) return done > 0 ? done : -1;
            }
            const qint64 inBuffer = offset - bufferFirst_ * kSectorSize;
            const qint64 n = std::min<qint64>(wanted - done, qint64(buffer_.size()) - inBuffer);
            std::copy_n(buffer_.data() + inBuffer, n, data + done);
            done += n;
        }
        return done;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    // 32 sectors: 64 KB, a few read calls for a page, bounded memory for a film.
    static constexpr qint64 kRun = 32;

    bool fill(qint64 sector) {
        const qint64 fileSectors = (qint64(entry_.size) + kSectorSize - 1) / kSectorSize;
        const qint64 count = std::min(kRun, fileSectors - sector);
        buffer_.resize(std::size_t(count * kSectorSize));
        if (count <= 0 ||
            !image_->readSectors(entry_.sector + quint32(sector), quint32(count), buffer_.data())) {
            bufferSectors_ = 0;
            return false;
        }
        bufferFirst_ = sector;
        bufferSectors_ = count;
        return true;
    }

    std::shared_ptr<const DiscImage> image_;
    DiscImage::Entry entry_;
    std::vector<char> buffer_;
    qint64 bufferFirst_ = 0;
    qint64 bufferSectors_ = 0;
};

// Where the volume descriptors start, and what is read of them (ECMA-119 8).
constexpr quint32 kFirstDescriptor = 16;
constexpr quint32 kMostDescriptors = 32;
constexpr uchar kSupplementaryDescriptor = 2;
constexpr uchar kLastDescriptor = 255;
constexpr int kEscapeSequences = 88;
constexpr int kRootRecord = 156;
// A directory record (ECMA-119 9.1): the little-endian halves of its extent
// and size, its flags and its name after the fixed fields.
constexpr int kExtentOffset = 2;
constexpr int kSizeOffset = 10;
constexpr int kFlagsOffset = 25;
constexpr int kNameLengthOffset = 32;
constexpr int kRecordHeader = 33;
constexpr uchar kDirectoryFlag = 0x02;
constexpr uchar kMultiExtentFlag = 0x80;
// Far more than a CD's directory holds, far less than a hostile size asks.
constexpr quint32 kMostDirectoryBytes = 4 * 1024 * 1024;

bool readSector(iso9660_t* iso, quint32 sector, char* buffer) {
    return iso9660_iso_seek_read(iso, buffer, sector, 1) == kSectorSize;
}

// The sectors the image holds, found by halves: those that can be read are
// a run from the first, in an ISO file as in a BIN of raw frames.
quint32 readableSectors(iso9660_t* iso, qint64 fileSize) {
    char sector[kSectorSize];
    quint32 low = 0;
    auto high = quint32(std::min<qint64>(fileSize / kSectorSize, UINT32_MAX));
    while (low < high) {
        const quint32 middle = low + (high - low + 1) / 2;
        if (readSector(iso, middle - 1, sector)) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

bool isJolietDescriptor(const char* descriptor) {
    const char level = descriptor[kEscapeSequences + 2];
    return uchar(descriptor[0]) == kSupplementaryDescriptor &&
           descriptor[kEscapeSequences] == '%' && descriptor[kEscapeSequences + 1] == '/' &&
           (level == '@' || level == 'C' || level == 'E');
}

// The root directory of the Joliet names, when the image has them.
std::optional<DiscImage::Entry> jolietRoot(iso9660_t* iso, quint32 sectors) {
    char descriptor[kSectorSize];
    for (quint32 n = kFirstDescriptor; n < kFirstDescriptor + kMostDescriptors && n < sectors;
         ++n) {
        if (!readSector(iso, n, descriptor) || std::memcmp(descriptor + 1, "CD001", 5) != 0 ||
            uchar(descriptor[0]) == kLastDescriptor) {
            break;
        }
        if (!isJolietDescriptor(descriptor)) continue;
        const char* root = descriptor + kRootRecord;
        return DiscImage::Entry{QString(), true, qFromLittleEndian<quint32>(root + kExtentOffset),
                                qFromLittleEndian<quint32>(root + kSizeOffset)};
    }
    return std::nullopt;
}

// Whether every directory record of the plain names' tree lies whole in its
// sector with its name inside it. The library that reads that tree trusts
// the records and copies a name past the end of its buffer when one does
// not (found by fuzzing): such an image is read by its Joliet names alone.
bool primaryTreeSound(iso9660_t* iso, quint32 sectors) {
    constexpr int kMostDirectories = 4096;
    char descriptor[kSectorSize];
    if (!readSector(iso, kFirstDescriptor, descriptor) || uchar(descriptor[0]) != 1) return false;
    std::vector<std::pair<quint32, quint32>> toRead{
        {qFromLittleEndian<quint32>(descriptor + kRootRecord + kExtentOffset),
         qFromLittleEndian<quint32>(descriptor + kRootRecord + kSizeOffset)}};
    QSet<quint32> seen;
    std::vector<char> bytes;
    while (!toRead.empty()) {
        const auto [first, size] = toRead.back();
        toRead.pop_back();
        if (seen.contains(first)) continue;
        seen.insert(first);
        const qint64 count = (qint64(size) + kSectorSize - 1) / kSectorSize;
        if (seen.size() > kMostDirectories || size > kMostDirectoryBytes ||
            qint64(first) + count > sectors) {
            return false;
        }
        bytes.resize(std::size_t(count * kSectorSize));
        for (qint64 n = 0; n < count; ++n) {
            if (!readSector(iso, quint32(first + n), bytes.data() + n * kSectorSize)) return false;
        }
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t inSector = at % kSectorSize;
            const auto length = uchar(bytes[at]);
            if (length == 0) {  // zeros fill the rest of a sector
                at += kSectorSize - inSector;
                continue;
            }
            const char* record = bytes.data() + at;
            if (length < kRecordHeader || inSector + length > std::size_t(kSectorSize) ||
                kRecordHeader + uchar(record[kNameLengthOffset]) > length) {
                return false;
            }
            const bool dotOrDotDot =
                uchar(record[kNameLengthOffset]) == 1 && uchar(record[kRecordHeader]) <= 1;
            if ((uchar(record[kFlagsOffset]) & kDirectoryFlag) && !dotOrDotDot) {
                toRead.emplace_back(qFromLittleEndian<quint32>(record + kExtentOffset),
                                    qFromLittleEndian<quint32>(record + kSizeOffset));
            }
            at += length;
        }
    }
    return true;
}

// ";1" and the dot before it, as plain ISO 9660 names have them, dropped.
QString withoutVersion(QString name) {
    static const QRegularExpression version(QStringLiteral("\\.?;\\d+$"));
    return name.remove(version);
}

// A name a file system could hold: not "." or "..", no separator, no NUL.
bool usable(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(u'\0'));
}

// A Joliet name, UTF-16 big-endian; nothing for bytes that make no text: an
// odd count, a surrogate without its pair.
std::optional<QString> jolietName(const char* bytes, int length) {
    if (length % 2 != 0) return std::nullopt;
    QString name;
    for (int at = 0; at < length; at += 2) name.append(QChar(qFromBigEndian<quint16>(bytes + at)));
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            ++i;
        } else if (name[i].isSurrogate()) {
            return std::nullopt;
        }
    }
    return name;
}

}  // namespace

// One record of a Joliet directory; named when its name makes text.
struct DiscImage::Record {
    Entry entry;
    bool named = false;
};

std::shared_ptr<DiscImage> DiscImage::open(const QString& path) {
    QString dataFile = path;
    if (path.endsWith(QStringLiteral(".cue"), Qt::CaseInsensitive)) {
        dataFile = dataFileOfCueSheet(path);
        if (dataFile.isEmpty()) return nullptr;
    }
    if (!QFileInfo(dataFile).isFile()) return nullptr;
    const QByteArray name = QFile::encodeName(dataFile);
    // The library reads the Rock Ridge or plain names; the Joliet names are
    // read here, where one that makes no text costs only its own entry.
    const auto extensions = ISO_EXTENSION_ALL & ~ISO_EXTENSION_JOLIET;
    iso9660_t* iso = iso9660_open_ext(name.constData(), extensions);
    // Raw sectors of 2,352 bytes (BIN files): the library finds the data.
    if (!iso) iso = iso9660_open_fuzzy_ext(name.constData(), extensions, 20);
    if (!iso) return nullptr;
    return std::shared_ptr<DiscImage>(new DiscImage(iso, QFileInfo(dataFile).size()));
}

DiscImage::DiscImage(iso9660_t* iso, qint64 fileSize)
    : iso_(iso),
      sectors_(readableSectors(iso, fileSize)),
      jolietRoot_(jolietRoot(iso, sectors_)),
      primarySound_(primaryTreeSound(iso, sectors_)) {}

DiscImage::~DiscImage() { iso9660_close(iso_); }

bool DiscImage::readSectors(quint32 first, quint32 count, char* buffer) const {
    const std::lock_guard lock(mutex_);
    return readLocked(first, count, buffer);
}

bool DiscImage::readLocked(quint32 first, quint32 count, char* buffer) const {
    // One at a time: in a BIN image each 2,048 bytes of data sit in a raw
    // frame, and the library reads several sectors as one run of bytes.
    for (quint32 i = 0; i < count; ++i) {
        if (!readSector(iso_, first + i, buffer + i * kSectorSize)) return false;
    }
    return true;
}

// An extent that runs past the image's end would be found missing only once
// read, sector by sector: such a folder is not listed, and such a file is
// listed (the set-up says the image is cut short, not that the file is not
// there) but never opened.
bool DiscImage::holds(const Entry& entry) const {
    return qint64(entry.sector) + (qint64(entry.size) + kSectorSize - 1) / kSectorSize <=
           qint64(sectors_);
}

std::optional<QList<DiscImage::Entry>> DiscImage::list(const QStringList& directory) const {
    const std::lock_guard lock(mutex_);
    return listLocked(directory);
}

std::optional<QList<DiscImage::Entry>> DiscImage::listLocked(const QStringList& directory) const {
    if (!jolietRoot_) return listPrimary(directory);
    const QString path = u'/' + directory.join(u'/');
    if (const auto cached = directories_.constFind(path); cached != directories_.constEnd()) {
        return *cached;
    }
    std::optional<Entry> found = jolietRoot_;
    if (!directory.isEmpty()) {
        found.reset();
        const auto parent = listLocked(directory.mid(0, directory.size() - 1));
        for (const Entry& entry : parent.value_or(QList<Entry>())) {
            if (entry.directory && entry.name == directory.last()) found = entry;
        }
    }
    std::vector<Record> records;
    if (!found || !readRecords(*found, records)) return std::nullopt;
    QList<Entry> entries;
    for (Record& record : records) {
        if (!record.named) record.entry.name = otherName(record.entry, directory);
        if (usable(record.entry.name)) entries.append(record.entry);
    }
    directories_.insert(path, entries);
    return entries;
}

bool DiscImage::readRecords(const Entry& directory, std::vector<Record>& records) const {
    if (!holds(directory) || directory.size > kMostDirectoryBytes) return false;
    const quint32 sectors = quint32((qint64(directory.size) + kSectorSize - 1) / kSectorSize);
    std::vector<char> bytes(std::size_t(sectors) * kSectorSize);
    if (!readLocked(directory.sector, sectors, bytes.data())) return false;
    // The parts of a file of several extents, which no CD needs, are left out.
    bool continued = false;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t inSector = at % kSectorSize;
        const auto length = uchar(bytes[at]);
        // A record never spans sectors; zeros fill the rest of one.
        if (length < kRecordHeader || inSector + length > std::size_t(kSectorSize)) {
            at += kSectorSize - inSector;
            continue;
        }
        const char* record = bytes.data() + at;
        at += length;
        const auto flags = uchar(record[kFlagsOffset]);
        const bool oneOfSeveral = continued || (flags & kMultiExtentFlag);
        continued = flags & kMultiExtentFlag;
        const int nameLength = uchar(record[kNameLengthOffset]);
        // "." and ".." are names of one byte, 0 and 1.
        if (oneOfSeveral || kRecordHeader + nameLength > length ||
            (nameLength == 1 && uchar(record[kRecordHeader]) <= 1)) {
            continue;
        }
        const auto name = jolietName(record + kRecordHeader, nameLength);
        const Entry entry{name.value_or(QString()), (flags & kDirectoryFlag) != 0,
                          qFromLittleEndian<quint32>(record + kExtentOffset),
                          qFromLittleEndian<quint32>(record + kSizeOffset)};
        if (!entry.directory || holds(entry)) records.push_back({entry, name && usable(*name)});
    }
    return true;
}

// A Joliet name that makes no text costs its entry that name only: the entry
// keeps the one it has in the image's other names, where it has one.
QString DiscImage::otherName(const Entry& entry, const QStringList& directory) const {
    const auto twin = primaryTwin(directory);
    const auto others = twin ? listPrimary(*twin) : std::nullopt;
    for (const Entry& other : others.value_or(QList<Entry>())) {
        if (other.directory != entry.directory) continue;
        if (entry.directory ? sameFiles(entry, *twin + QStringList{other.name})
                            : other.sector == entry.sector && other.size == entry.size) {
            return other.name;
        }
    }
    return {};
}

// Where a Joliet directory lies among the other names: a directory's own
// extent differs between the two, so it is found by its name, or else by
// its files, whose extents both share.
std::optional<QStringList> DiscImage::primaryTwin(const QStringList& directory) const {
    if (directory.isEmpty()) return QStringList();
    const QStringList parentPath = directory.mid(0, directory.size() - 1);
    const auto parent = primaryTwin(parentPath);
    const auto listed = listLocked(parentPath);
    const auto others = parent ? listPrimary(*parent) : std::nullopt;
    if (!listed || !others) return std::nullopt;
    const auto joliet = std::find_if(listed->begin(), listed->end(), [&](const Entry& entry) {
        return entry.directory && entry.name == directory.last();
    });
    if (joliet == listed->end()) return std::nullopt;
    for (const Entry& other : *others) {
        if (other.directory && other.name.compare(joliet->name, Qt::CaseInsensitive) == 0)
            return *parent + QStringList{other.name};
    }
    for (const Entry& other : *others) {
        if (other.directory && sameFiles(*joliet, *parent + QStringList{other.name}))
            return *parent + QStringList{other.name};
    }
    return std::nullopt;
}

bool DiscImage::sameFiles(const Entry& joliet, const QStringList& primary) const {
    std::vector<Record> records;
    const auto others = listPrimary(primary);
    if (!others || !readRecords(joliet, records)) return false;
    QSet<quint32> mine;
    QSet<quint32> theirs;
    for (const Record& record : records) {
        if (!record.entry.directory) mine.insert(record.entry.sector);
    }
    for (const Entry& other : *others) {
        if (!other.directory) theirs.insert(other.sector);
    }
    return !mine.isEmpty() && mine == theirs;
}

std::optional<QList<DiscImage::Entry>> DiscImage::listPrimary(const QStringList& directory) const {
    if (!primarySound_) return std::nullopt;
    const QString path = u'/' + directory.join(u'/');
    if (const auto cached = primaryDirectories_.constFind(path);
        cached != primaryDirectories_.constEnd()) {
        return *cached;
    }
    CdioList_t* listed = iso9660_ifs_readdir(iso_, QFile::encodeName(path).constData());
    if (!listed) return std::nullopt;
    QList<Entry> entries;
    CdioListNode_t* node;
    _CDIO_LIST_FOREACH(node, listed) {
        const auto* stat = static_cast<const iso9660_stat_t*>(_cdio_list_node_data(node));
        const Entry entry{withoutVersion(QString::fromUtf8(stat->filename)),
                          stat->type == iso9660_stat_s::_STAT_DIR, quint32(stat->lsn), stat->size};
        if (usable(entry.name) && (!entry.directory || holds(entry))) entries.append(entry);
    }
    iso9660_filelist_free(listed);
    primaryDirectories_.insert(path, entries);
    return entries;
}

std::optional<DiscImage::Entry> DiscImage::find(const QStringList& components,
                                                QStringList* names) const {
    Entry current{QString(), true, 0, 0};
    QStringList matched;
    for (const QString& component : components) {
        const auto entries = current.directory ? list(matched) : std::nullopt;
        if (!entries) return std::nullopt;
        QStringList entryNames;
        for (const Entry& entry : *entries) entryNames.append(entry.name);
        const QString name = MatchEntryName(entryNames, component);
        if (name.isEmpty()) return std::nullopt;
        current = entries->at(entryNames.indexOf(name));
        matched.append(name);
    }
    if (names) *names = matched;
    return current;
}

std::unique_ptr<QIODevice> DiscImage::openFile(const Entry& file) const {
    if (file.directory || !holds(file)) return nullptr;
    // The device keeps the image open for as long as it is read.
    auto device = std::make_unique<DiscImageFile>(shared_from_this(), file);
    device->open(QIODevice::ReadOnly);
    return device;
}

}  // namespace lumera
