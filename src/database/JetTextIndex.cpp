#include "database/JetTextIndex.h"

#include "database/JetFile.h"
#include "database/JetSortOrder.h"

#include <QtEndian>
#include <algorithm>

namespace lumera {

namespace {

// The Jet 4 index page: its type, the table it belongs to, the next leaf,
// the last leaf (on intermediate pages, for leaves the tree does not name
// yet), the length of the prefix every entry shares with the first, and a
// bit for each byte where an entry starts after the first.
constexpr unsigned char kIntermediatePage = 0x03;
constexpr unsigned char kLeafPage = 0x04;
constexpr int kOwnerOffset = 4;
constexpr int kNextOffset = 16;
constexpr int kTailOffset = 20;
constexpr int kSharedPrefixOffset = 24;
constexpr int kEntryMaskOffset = 0x1B;
constexpr int kFirstEntryOffset = 0x1E0;
// An entry ends with its row's page (three bytes, high first) and row
// number; an intermediate one then with the page below it (four bytes).
constexpr qsizetype kRowPointerSize = 4;
constexpr qsizetype kChildPointerSize = 4;
// Deeper than any tree of a file's pages.
constexpr int kDeepestTree = 16;
// Beyond this many candidate rows the lookup or the walk is cheaper.
constexpr std::size_t kMostCandidates = 512;

quint32 bigEndian(const char* bytes, int size) {
    quint32 value = 0;
    for (int i = 0; i < size; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

// Negative, zero or positive as an entry lies before, among or after the
// entries that start with prefix.
int compareToPrefix(const QByteArray& key, const QByteArray& prefix) {
    if (key.startsWith(prefix)) return 0;
    return key < prefix ? -1 : 1;
}

}  // namespace

JetTextIndex::JetTextIndex(const JetFile& file, quint32 owner, quint32 root)
    : file_(file), owner_(owner), root_(root) {}

std::optional<JetTextIndex::Page> JetTextIndex::read(quint32 number) const {
    MdbHandle* mdb = file_.handle();
    if (!file_.holdsPage(number) || mdb_read_pg(mdb, number) != file_.pageSize())
        return std::nullopt;
    const char* bytes = reinterpret_cast<const char*>(mdb->pg_buf);
    const auto type = static_cast<unsigned char>(bytes[0]);
    if ((type != kIntermediatePage && type != kLeafPage) ||
        qFromLittleEndian<quint32>(bytes + kOwnerOffset) != owner_) {
        return std::nullopt;
    }
    Page page;
    page.leaf = type == kLeafPage;
    page.next = qFromLittleEndian<quint32>(bytes + kNextOffset);
    page.tail = qFromLittleEndian<quint32>(bytes + kTailOffset);
    const qsizetype shared = qFromLittleEndian<quint16>(bytes + kSharedPrefixOffset);
    const qsizetype pointers = kRowPointerSize + (page.leaf ? 0 : kChildPointerSize);
    const qsizetype pageSize = file_.pageSize();
    qsizetype start = kFirstEntryOffset;
    QByteArray first;
    for (qsizetype bit = 0; kEntryMaskOffset + bit / 8 < kFirstEntryOffset; ++bit) {
        if (!(static_cast<unsigned char>(bytes[kEntryMaskOffset + bit / 8]) & (1 << (bit % 8)))) {
            continue;
        }
        const qsizetype end = kFirstEntryOffset + bit;
        if (end > pageSize || end <= start) return std::nullopt;
        QByteArray entry(bytes + start, end - start);
        if (first.isEmpty()) {
            if (shared > entry.size()) return std::nullopt;
            first = entry;
        } else {
            entry.prepend(first.left(shared));
        }
        if (entry.size() <= pointers) return std::nullopt;
        const qsizetype keySize = entry.size() - pointers;
        const auto pointer = bigEndian(entry.constData() + keySize, kRowPointerSize);
        page.entries.push_back({entry.left(keySize), pointer,
                                page.leaf ? 0
                                          : bigEndian(entry.constData() + keySize + kRowPointerSize,
                                                      kChildPointerSize)});
        start = end;
    }
    return page;
}

const std::optional<JetTextIndex::Page>& JetTextIndex::page(quint32 number, Pages& pages) const {
    const auto known = pages.find(number);
    if (known != pages.end()) return known->second;
    return pages.emplace(number, read(number)).first->second;
}

bool JetTextIndex::collect(const QByteArray& prefix, Pages& pages,
                           std::vector<quint32>& found) const {
    quint32 number = root_;
    const std::optional<Page>* page = &this->page(number, pages);
    // Down to the first leaf that may hold the prefix: an intermediate entry
    // is the last entry of the page below it.
    for (int depth = 0; *page && !(*page)->leaf; ++depth) {
        const std::vector<Entry>& entries = (*page)->entries;
        const auto below = std::find_if(entries.begin(), entries.end(), [&prefix](const Entry& e) {
            return compareToPrefix(e.key, prefix) >= 0;
        });
        number = below != entries.end() ? below->child : (*page)->tail;
        if (number == 0) return true;
        if (depth == kDeepestTree) return false;
        page = &this->page(number, pages);
    }
    // Then along the leaves while their entries start with the prefix.
    for (qint64 leaves = 0; *page && leaves < file_.pageCount(); ++leaves) {
        for (const Entry& entry : (*page)->entries) {
            const int order = compareToPrefix(entry.key, prefix);
            if (order > 0) return true;
            if (order < 0) continue;
            if (found.size() == kMostCandidates) return false;
            found.push_back(entry.location);
        }
        if ((*page)->next == 0) return true;
        page = &this->page((*page)->next, pages);
    }
    return false;
}

std::optional<std::vector<quint32>> JetTextIndex::locations(const QString& foldedKey) const {
    const std::vector<QByteArray> prefixes = generalsort::entryPrefixes(foldedKey);
    if (prefixes.empty()) return std::nullopt;
    std::vector<quint32> found;
    Pages pages;
    for (const QByteArray& prefix : prefixes) {
        if (!collect(prefix, pages, found)) return std::nullopt;
    }
    // Spellings may overlap: a row is read once, in stored order.
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

}  // namespace lumera
