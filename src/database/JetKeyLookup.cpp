#include "database/JetKeyLookup.h"

#include "database/ArticleTables.h"
#include "database/JetFile.h"

#include <QtEndian>
#include <algorithm>

namespace lumera {

namespace {

// The file: a header of fixed fields, then each section's entries (hash,
// location), all little-endian, and a checksum over everything before it.
constexpr char kMagic[8] = {'L', 'X', 'C', 'H', 'A', 'V', 'E', 'S'};
// Raised whenever the hash, the folding or the layout changes: version 2
// lists the rows whose key is NULL too.
constexpr quint32 kFormatVersion = 2;
constexpr qsizetype kEntrySize = 8;
constexpr qsizetype kChecksumSize = 8;
// The hash a NULL key is listed under; a text key that hashes alike costs
// the reads of those rows, which match nothing.
constexpr quint32 kNullKeyHash = 0;

// FNV-1a over the UTF-16 code units: the same on every machine and Qt
// version, unlike qHash, whose seed and algorithm may change.
quint32 keyHash(const QString& foldedKey) {
    quint32 hash = 2166136261u;
    for (const QChar c : foldedKey) {
        hash = (hash ^ c.unicode()) * 16777619u;
    }
    return hash;
}

quint32 storedKeyHash(const StoredText& key) {
    return key ? keyHash(keymatch::folded(*key)) : kNullKeyHash;
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
    explicit Reader(const QByteArray& bytes, qsizetype at = sizeof(kMagic)) : in_(bytes), at_(at) {}
    template <typename T>
    T take() {
        const T value = qFromLittleEndian<T>(in_.constData() + at_);
        at_ += sizeof(T);
        return value;
    }

  private:
    const QByteArray& in_;
    qsizetype at_;
};

}  // namespace

JetKeyLookup JetKeyLookup::build(const JetFile& file, const JetFileStamp& stamp) {
    JetKeyLookup lookup;
    lookup.stamp_ = stamp;
    const auto fill = [&file](Entries& entries, const QString& table, const QString& keyColumn) {
        JetTableReader reader(file, table);
        const int key = reader.requireColumn(keyColumn);
        while (reader.next())
            entries.push_back({storedKeyHash(reader.value(key)), reader.location()});
        std::sort(entries.begin(), entries.end());
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
    out.put(static_cast<quint32>(articles_.size()));
    out.put(static_cast<quint32>(media_.size()));
    for (const Entries* entries : {&articles_, &media_}) {
        for (const Entry& entry : *entries) {
            out.put(entry.hash);
            out.put(entry.location);
        }
    }
    out.put(checksum(out.bytes().constData(), out.bytes().size()));
    return out.bytes();
}

qint64 JetKeyLookup::Header::fileSize() const {
    return kHeaderSize + (qint64(articles) + qint64(media)) * kEntrySize + kChecksumSize;
}

std::optional<JetKeyLookup::Header> JetKeyLookup::header(const QByteArray& bytes) {
    if (bytes.size() < kHeaderSize ||
        !bytes.startsWith(QByteArray::fromRawData(kMagic, sizeof(kMagic)))) {
        return std::nullopt;
    }
    Reader in(bytes);
    if (in.take<quint32>() != kFormatVersion) return std::nullopt;
    Header header;
    header.stamp.unicodeVersion = in.take<quint32>();
    header.stamp.size = in.take<qint64>();
    header.stamp.modifiedNs = in.take<qint64>();
    header.articles = in.take<quint32>();
    header.media = in.take<quint32>();
    return header;
}

std::optional<JetKeyLookup> JetKeyLookup::fromBytes(const QByteArray& bytes) {
    const std::optional<Header> header = JetKeyLookup::header(bytes);
    // Before anything is allocated by the counts.
    if (!header || header->fileSize() != bytes.size()) return std::nullopt;
    const qsizetype body = bytes.size() - kChecksumSize;
    if (checksum(bytes.constData(), body) != qFromLittleEndian<quint64>(bytes.constData() + body)) {
        return std::nullopt;
    }
    JetKeyLookup lookup;
    lookup.stamp_ = header->stamp;
    lookup.articles_.resize(header->articles);
    lookup.media_.resize(header->media);
    Reader in(bytes, kHeaderSize);
    for (Entries* entries : {&lookup.articles_, &lookup.media_}) {
        for (Entry& entry : *entries) {
            entry.hash = in.take<quint32>();
            entry.location = in.take<quint32>();
        }
        // The queries search them by halves.
        if (!std::is_sorted(entries->begin(), entries->end())) return std::nullopt;
    }
    return lookup;
}

const JetKeyLookup::Entries& JetKeyLookup::entries(Table table) const {
    return table == Table::Articles ? articles_ : media_;
}

std::vector<quint32> JetKeyLookup::locations(Table table, const QString& foldedKey) const {
    const Entries& all = entries(table);
    const quint32 hash = keyHash(foldedKey);
    auto at = std::lower_bound(all.begin(), all.end(), Entry{hash, 0});
    std::vector<quint32> found;
    for (; at != all.end() && at->hash == hash; ++at) found.push_back(at->location);
    return found;
}

bool JetKeyLookup::mayList(const QString& foldedKey, const StoredText& key) {
    return storedKeyHash(key) == keyHash(foldedKey);
}

qsizetype JetKeyLookup::entryCount() const {
    return static_cast<qsizetype>(articles_.size() + media_.size());
}

}  // namespace lumera
