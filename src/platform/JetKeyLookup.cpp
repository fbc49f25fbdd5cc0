#include "platform/JetKeyLookup.h"

#include "platform/ArticleDatabaseFiles.h"
#include "platform/JetFile.h"

#include <QtEndian>
#include <algorithm>

namespace lumera {

namespace {

// The file: a header of fixed fields, then each section's entries (hash,
// location), all little-endian, and a checksum over everything before it.
constexpr char kMagic[8] = {'L', 'X', 'C', 'H', 'A', 'V', 'E', 'S'};
// Raised whenever the hash, the folding or the layout changes.
constexpr quint32 kFormatVersion = 1;
constexpr qsizetype kHeaderSize = 56;
constexpr qsizetype kEntrySize = 8;
constexpr qsizetype kChecksumSize = 8;

// FNV-1a over the UTF-16 code units: the same on every machine and Qt
// version, unlike qHash, whose seed and algorithm may change.
quint32 keyHash(const QString& foldedKey) {
    quint32 hash = 2166136261u;
    for (const QChar c : foldedKey) {
        hash = (hash ^ c.unicode()) * 16777619u;
    }
    return hash;
}

// Eight bytes a step, so that checking a lookup of 400,000 entries costs
// well under a millisecond; it is there to find a damaged file, not a forged one.
quint64 checksum(const char* data, qsizetype size) {
    quint64 sum = 0x9E3779B97F4A7C15ull ^ static_cast<quint64>(size);
    qsizetype at = 0;
    for (; at + 8 <= size; at += 8) {
        sum = (sum ^ qFromLittleEndian<quint64>(data + at)) * 0x100000001B3ull;
        sum ^= sum >> 29;
    }
    for (; at < size; ++at) sum = (sum ^ static_cast<unsigned char>(data[at])) * 0x100000001B3ull;
    return sum;
}

class Writer {
  public:
    template <typename T>
    void put(T value) {
        char bytes[sizeof(T)];
        qToLittleEndian(value, bytes);
        out_.append(bytes, sizeof(T));
    }
    QByteArray& bytes() { return out_; }

  private:
    QByteArray out_;
};

class Reader {
  public:
    explicit Reader(const QByteArray& bytes) : in_(bytes) {}
    template <typename T>
    T take() {
        const T value = qFromLittleEndian<T>(in_.constData() + at_);
        at_ += sizeof(T);
        return value;
    }

  private:
    const QByteArray& in_;
    qsizetype at_ = sizeof(kMagic);
};

}  // namespace

JetKeyLookup JetKeyLookup::build(const JetFile& file, const JetFileStamp& stamp) {
    JetKeyLookup lookup;
    lookup.stamp_ = stamp;
    const auto fill = [&file](Section& section, const QString& table, const QString& keyColumn) {
        JetTableReader reader(file, table);
        const int key = reader.requireColumn(keyColumn);
        section.definitionPage = reader.definitionPage();
        section.rowCount = reader.rowCount();
        while (reader.next()) {
            const StoredText value = reader.value(key);
            if (value)
                section.entries.push_back({keyHash(keymatch::folded(*value)), reader.location()});
        }
        std::sort(section.entries.begin(), section.entries.end());
    };
    fill(lookup.articles_, articletables::kArticles, articletables::kKey);
    fill(lookup.media_, articletables::kMedia, articletables::kMediaItem);
    return lookup;
}

QByteArray JetKeyLookup::toBytes() const {
    Writer out;
    out.bytes().append(kMagic, sizeof(kMagic));
    out.put(kFormatVersion);
    out.put(stamp_.unicodeVersion);
    out.put(stamp_.size);
    out.put(stamp_.modifiedNs);
    for (const Section* section : {&articles_, &media_}) {
        out.put(section->definitionPage);
        out.put(section->rowCount);
        out.put(static_cast<quint32>(section->entries.size()));
    }
    for (const Section* section : {&articles_, &media_}) {
        for (const Entry& entry : section->entries) {
            out.put(entry.hash);
            out.put(entry.location);
        }
    }
    out.put(checksum(out.bytes().constData(), out.bytes().size()));
    return out.bytes();
}

std::optional<JetKeyLookup> JetKeyLookup::fromBytes(const QByteArray& bytes) {
    if (bytes.size() < kHeaderSize + kChecksumSize ||
        !bytes.startsWith(QByteArray::fromRawData(kMagic, sizeof(kMagic)))) {
        return std::nullopt;
    }
    const qsizetype body = bytes.size() - kChecksumSize;
    if (checksum(bytes.constData(), body) != qFromLittleEndian<quint64>(bytes.constData() + body)) {
        return std::nullopt;
    }
    Reader in(bytes);
    if (in.take<quint32>() != kFormatVersion) return std::nullopt;
    JetKeyLookup lookup;
    lookup.stamp_.unicodeVersion = in.take<quint32>();
    lookup.stamp_.size = in.take<qint64>();
    lookup.stamp_.modifiedNs = in.take<qint64>();
    qint64 counts[2] = {};
    int index = 0;
    for (Section* section : {&lookup.articles_, &lookup.media_}) {
        section->definitionPage = in.take<quint32>();
        section->rowCount = in.take<quint32>();
        counts[index++] = in.take<quint32>();
    }
    // Before anything is allocated by the counts.
    if (kHeaderSize + (counts[0] + counts[1]) * kEntrySize != body) return std::nullopt;
    index = 0;
    for (Section* section : {&lookup.articles_, &lookup.media_}) {
        section->entries.resize(static_cast<std::size_t>(counts[index++]));
        for (Entry& entry : section->entries) {
            entry.hash = in.take<quint32>();
            entry.location = in.take<quint32>();
        }
        // The queries search them by halves.
        if (!std::is_sorted(section->entries.begin(), section->entries.end())) return std::nullopt;
    }
    return lookup;
}

const JetKeyLookup::Section& JetKeyLookup::section(Table table) const {
    return table == Table::Articles ? articles_ : media_;
}

bool JetKeyLookup::describes(Table table, quint32 definitionPage, quint32 rowCount) const {
    const Section& s = section(table);
    return s.definitionPage == definitionPage && s.rowCount == rowCount;
}

std::vector<quint32> JetKeyLookup::locations(Table table, const QString& foldedKey) const {
    const std::vector<Entry>& entries = section(table).entries;
    const quint32 hash = keyHash(foldedKey);
    auto at = std::lower_bound(entries.begin(), entries.end(), Entry{hash, 0});
    std::vector<quint32> found;
    for (; at != entries.end() && at->hash == hash; ++at) found.push_back(at->location);
    return found;
}

qsizetype JetKeyLookup::entryCount() const {
    return static_cast<qsizetype>(articles_.entries.size() + media_.entries.size());
}

}  // namespace lumera
