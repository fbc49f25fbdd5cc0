#include "platform/DiscImage.h"

#include <cdio/iso9660.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <vector>

#include "platform/EntryNames.h"

namespace lumera {
namespace {

constexpr qint64 kSectorSize = ISO_BLOCKSIZE;

// A CUE sheet names its data file on a FILE line, beside the sheet.
QString dataFileOfCueSheet(const QString& cuePath) {
    QFile cue(cuePath);
    if (!cue.open(QIODevice::ReadOnly) || cue.size() > 64 * 1024) return {};
    static const QRegularExpression fileLine(QStringLiteral("^\\s*FILE\\s+\"([^\"]+)\""),
                                             QRegularExpression::MultilineOption);
    const auto m = fileLine.match(QString::fromLocal8Bit(cue.readAll()));
    if (!m.hasMatch()) return {};
    const QString name = m.captured(1);
    if (name.contains(u'/') || name.contains(u'\\')) return {};  // beside the sheet only
    return QFileInfo(cuePath).dir().filePath(name);
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

}  // namespace

std::shared_ptr<DiscImage> DiscImage::open(const QString& path) {
    QString dataFile = path;
    if (path.endsWith(QStringLiteral(".cue"), Qt::CaseInsensitive)) {
        dataFile = dataFileOfCueSheet(path);
        if (dataFile.isEmpty()) return nullptr;
    }
    if (!QFileInfo(dataFile).isFile()) return nullptr;
    const QByteArray name = QFile::encodeName(dataFile);
    iso9660_t* iso = iso9660_open_ext(name.constData(), ISO_EXTENSION_ALL);
    // Raw sectors of 2,352 bytes (BIN files): the library finds the data.
    if (!iso) iso = iso9660_open_fuzzy_ext(name.constData(), ISO_EXTENSION_ALL, 20);
    if (!iso) return nullptr;
    return std::shared_ptr<DiscImage>(new DiscImage(iso));
}

DiscImage::DiscImage(iso9660_t* iso) : iso_(iso) {}

DiscImage::~DiscImage() { iso9660_close(iso_); }

bool DiscImage::readSectors(quint32 first, quint32 count, char* buffer) const {
    const std::lock_guard lock(mutex_);
    // One at a time: in a BIN image each 2,048 bytes of data sit in a raw
    // frame, and the library reads several sectors as one run of bytes.
    for (quint32 i = 0; i < count; ++i) {
        if (iso9660_iso_seek_read(iso_, buffer + i * kSectorSize, first + i, 1) != kSectorSize) {
            return false;
        }
    }
    return true;
}

std::optional<QList<DiscImage::Entry>> DiscImage::list(const QStringList& directory) const {
    const QString path = u'/' + directory.join(u'/');
    const std::lock_guard lock(mutex_);
    if (const auto cached = directories_.constFind(path); cached != directories_.constEnd()) {
        return *cached;
    }
    CdioList_t* listed = iso9660_ifs_readdir(iso_, QFile::encodeName(path).constData());
    if (!listed) return std::nullopt;
    QList<Entry> entries;
    CdioListNode_t* node;
    _CDIO_LIST_FOREACH(node, listed) {
        const auto* stat = static_cast<const iso9660_stat_t*>(_cdio_list_node_data(node));
        // Plain names come without their ";1" and trailing dot.
        const QString name = QString::fromUtf8(stat->filename);
        // "." and ".." (and the raw names the library gives them), and names
        // no file system could hold.
        if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/') ||
            name.contains(QChar(u'\0'))) {
            continue;
        }
        entries.append(
            {name, stat->type == iso9660_stat_s::_STAT_DIR, quint32(stat->lsn), stat->size});
    }
    iso9660_filelist_free(listed);
    directories_.insert(path, entries);
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
    if (file.directory) return nullptr;
    // The device keeps the image open for as long as it is read.
    auto device = std::make_unique<DiscImageFile>(shared_from_this(), file);
    device->open(QIODevice::ReadOnly);
    return device;
}

}  // namespace lumera
