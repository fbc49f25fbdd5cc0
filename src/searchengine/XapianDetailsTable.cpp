#include "searchengine/XapianDetailsTable.h"

#include <QDir>
#include <QSaveFile>
#include <cstring>
#include <stdexcept>

#include "searchengine/XapianTextFolding.h"

namespace lumera {
namespace {

// Layout: the magic, the index's UUID (36 bytes), the document count, the
// 2 * count + 1 offsets of the titles and paths, then their UTF-16 text.
// All numbers are 32-bit, in the machine's byte order: the table is made by
// the indexer where the reader runs.
constexpr char kMagic[8] = {'L', 'U', 'M', 'D', 'E', 'T', '1', '\0'};
constexpr std::size_t kUuidSize = 36;
constexpr std::size_t kHeaderSize = sizeof kMagic + kUuidSize + sizeof(std::uint32_t);

}  // namespace

void DetailsTable::write(const QString& folder, const std::vector<IndexedDetails>& details) {
    const std::string uuid = Xapian::Database(toUtf8(folder)).get_uuid();
    if (uuid.size() != kUuidSize) throw std::runtime_error("index without a UUID");
    std::vector<std::uint32_t> offsets{0};
    QString characters;
    for (const IndexedDetails& d : details) {
        characters += d.title;
        offsets.push_back(std::uint32_t(characters.size()));
        characters += d.path;
        offsets.push_back(std::uint32_t(characters.size()));
    }
    const auto count = std::uint32_t(details.size());
    QSaveFile file(QDir(folder).filePath(kFileName));
    bool ok = file.open(QIODevice::WriteOnly);
    ok = ok && file.write(kMagic, sizeof kMagic) == qint64(sizeof kMagic);
    ok = ok && file.write(uuid.data(), qint64(kUuidSize)) == qint64(kUuidSize);
    ok = ok && file.write(reinterpret_cast<const char*>(&count), sizeof count) == sizeof count;
    const auto offsetBytes = qint64(offsets.size() * sizeof(std::uint32_t));
    ok =
        ok && file.write(reinterpret_cast<const char*>(offsets.data()), offsetBytes) == offsetBytes;
    const auto textBytes = qint64(characters.size()) * 2;
    ok = ok &&
         file.write(reinterpret_cast<const char*>(characters.constData()), textBytes) == textBytes;
    if (!ok || !file.commit()) {
        throw std::runtime_error("cannot write " + toUtf8(file.fileName()) + ": " +
                                 toUtf8(file.errorString()));
    }
}

std::shared_ptr<const DetailsTable> DetailsTable::open(const QString& folder,
                                                       const Xapian::Database& index) {
    std::shared_ptr<DetailsTable> table(new DetailsTable);
    table->file_.setFileName(QDir(folder).filePath(kFileName));
    if (!table->file_.open(QIODevice::ReadOnly)) return nullptr;
    const qint64 size = table->file_.size();
    if (size < qint64(kHeaderSize)) return nullptr;
    const uchar* data = table->file_.map(0, size);
    if (!data) return nullptr;
    std::uint32_t count = 0;
    std::memcpy(&count, data + sizeof kMagic + kUuidSize, sizeof count);
    const qint64 offsetBytes = (2 * qint64(count) + 1) * qint64(sizeof(std::uint32_t));
    if (std::memcmp(data, kMagic, sizeof kMagic) != 0 || count != index.get_doccount() ||
        count != index.get_lastdocid() ||
        index.get_uuid() !=
            std::string(reinterpret_cast<const char*>(data) + sizeof kMagic, kUuidSize) ||
        size < qint64(kHeaderSize) + offsetBytes) {
        return nullptr;
    }
    table->offsets_ = reinterpret_cast<const std::uint32_t*>(data + kHeaderSize);
    table->characters_ = reinterpret_cast<const char16_t*>(data + kHeaderSize + offsetBytes);
    table->characterCount_ = std::uint32_t((size - qint64(kHeaderSize) - offsetBytes) / 2);
    // A file cut short anywhere ends before its last text does.
    if (table->offsets_[2 * std::size_t(count)] != table->characterCount_) return nullptr;
    table->count_ = count;
    return table;
}

QStringView DetailsTable::text(std::size_t entry) const {
    // Checked at each read rather than all at open, which every search does:
    // a damaged table shows empty text, never memory outside the file.
    const std::uint32_t begin = offsets_[entry];
    const std::uint32_t end = offsets_[entry + 1];
    if (begin > end || end > characterCount_) return {};
    return QStringView(characters_ + begin, end - begin);
}

}  // namespace lumera
