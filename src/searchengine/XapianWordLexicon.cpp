#include "searchengine/XapianWordLexicon.h"

#include <QDir>
#include <QSaveFile>
#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "searchengine/XapianTextFolding.h"

namespace lumera {
namespace {

// Layout: the magic, the index's UUID (36 bytes), its document count, the
// word count (32 bits each), count + 1 offsets into the entries (32 bits),
// then the entries in byte order of their words: the number of documents
// (7 bits a byte, low first), the word's length (8 bits) and bytes, the
// number of stems (8 bits), and for each stem how many bytes it shares with
// the start of the word (8 bits), the length (8 bits) and bytes of the rest.
// A stem mostly begins the word: on 10,000 generated articles the lexicon
// took 28 bytes a word when it spelt every stem and count out, 19 so. Numbers of 32 bits are in the
// machine's byte order: the indexer runs where the reader does.
constexpr char kMagic[8] = {'L', 'U', 'M', 'W', 'R', 'D', '1', '\0'};
constexpr std::size_t kUuidSize = 36;
constexpr std::size_t kHeaderSize = sizeof kMagic + kUuidSize + 2 * sizeof(std::uint32_t);
// Terms are far shorter (the term generator skips words over 64 bytes).
constexpr std::size_t kMaxLength = 255;

void append32(std::string& out, std::uint32_t value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void appendShort(std::string& out, std::string_view text) {
    out += char(text.size());
    out += text;
}

void appendNumber(std::string& out, std::uint32_t value) {
    for (; value >= 0x80; value >>= 7) out += char(0x80 | (value & 0x7F));
    out += char(value);
}

}  // namespace

bool WordLexicon::keptIn(const Xapian::Database& index) {
    return index.get_metadata(kMetadataKey) == kMetadataValue;
}

WordLexicon::Encoded WordLexicon::encode(const Vocabulary& words) {
    std::vector<const std::pair<const std::string, Vocabulary::Word>*> sorted;
    sorted.reserve(words.words().size());
    for (const auto& entry : words.words()) {
        if (entry.second.documents > 0 && entry.first.size() <= kMaxLength)
            sorted.push_back(&entry);
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const auto* a, const auto* b) { return a->first < b->first; });
    Encoded encoded;
    encoded.count = std::uint32_t(sorted.size());
    std::string& offsets = encoded.offsets;
    std::string& entries = encoded.entries;
    for (const auto* word : sorted) {
        append32(offsets, std::uint32_t(entries.size()));
        appendNumber(entries, word->second.documents);
        appendShort(entries, word->first);
        std::vector<std::string_view> stems;
        for (const std::string& stem : word->second.stems) {
            if (stem.size() <= kMaxLength && stems.size() < kMaxLength) stems.push_back(stem);
        }
        entries += char(stems.size());
        for (const std::string_view stem : stems) {
            const auto shared = std::size_t(
                std::mismatch(stem.begin(), stem.end(), word->first.begin(), word->first.end())
                    .first -
                stem.begin());
            entries += char(shared);
            appendShort(entries, stem.substr(shared));
        }
    }
    append32(offsets, std::uint32_t(entries.size()));
    return encoded;
}

void WordLexicon::write(const QString& folder, const Encoded& encoded) {
    const Xapian::Database index(toUtf8(folder));
    const std::string uuid = index.get_uuid();
    if (uuid.size() != kUuidSize) throw std::runtime_error("index without a UUID");
    std::string header(kMagic, sizeof kMagic);
    header += uuid;
    append32(header, index.get_doccount());
    append32(header, encoded.count);
    QSaveFile file(QDir(folder).filePath(kFileName));
    bool ok = file.open(QIODevice::WriteOnly);
    for (const std::string* slice : {&std::as_const(header), &encoded.offsets, &encoded.entries}) {
        ok = ok && file.write(slice->data(), qint64(slice->size())) == qint64(slice->size());
    }
    if (!ok || !file.commit()) {
        throw std::runtime_error("cannot write " + toUtf8(file.fileName()) + ": " +
                                 toUtf8(file.errorString()));
    }
}

std::shared_ptr<const WordLexicon> WordLexicon::open(const QString& folder,
                                                     const Xapian::Database& index) {
    std::shared_ptr<WordLexicon> lexicon(new WordLexicon);
    lexicon->file_.setFileName(QDir(folder).filePath(kFileName));
    if (!lexicon->file_.open(QIODevice::ReadOnly)) return nullptr;
    const qint64 size = lexicon->file_.size();
    if (size < qint64(kHeaderSize)) return nullptr;
    const uchar* data = lexicon->file_.map(0, size);
    if (!data) return nullptr;
    std::uint32_t documents = 0;
    std::uint32_t count = 0;
    std::memcpy(&documents, data + sizeof kMagic + kUuidSize, sizeof documents);
    std::memcpy(&count, data + sizeof kMagic + kUuidSize + sizeof documents, sizeof count);
    const qint64 offsetBytes = (qint64(count) + 1) * qint64(sizeof(std::uint32_t));
    if (std::memcmp(data, kMagic, sizeof kMagic) != 0 || documents != index.get_doccount() ||
        index.get_uuid() !=
            std::string(reinterpret_cast<const char*>(data) + sizeof kMagic, kUuidSize) ||
        size < qint64(kHeaderSize) + offsetBytes) {
        return nullptr;
    }
    lexicon->offsets_ = reinterpret_cast<const std::uint32_t*>(data + kHeaderSize);
    lexicon->entries_ = data + kHeaderSize + offsetBytes;
    lexicon->entryBytes_ = std::uint32_t(size - qint64(kHeaderSize) - offsetBytes);
    // A file cut short anywhere ends before its last entry does.
    if (lexicon->offsets_[count] != lexicon->entryBytes_) return nullptr;
    lexicon->count_ = count;
    return lexicon;
}

std::optional<WordLexicon::Word> WordLexicon::word(std::uint32_t i) const {
    const std::uint32_t begin = offsets_[i];
    const std::uint32_t end = offsets_[i + 1];
    if (begin > end || end > entryBytes_) return {};
    const unsigned char* at = entries_ + begin;
    const unsigned char* const stop = entries_ + end;
    Word word;
    for (unsigned shift = 0;; shift += 7) {
        if (at >= stop || shift > 28) return {};
        word.documents |= std::uint32_t(*at & 0x7F) << shift;
        if (!(*at++ & 0x80)) break;
    }
    const auto take = [&]() -> std::optional<std::string_view> {
        if (at >= stop || std::size_t(stop - at - 1) < *at) return {};
        const std::string_view text(reinterpret_cast<const char*>(at + 1), *at);
        at += 1 + *at;
        return text;
    };
    const auto text = take();
    if (!text || at >= stop) return {};
    word.text = *text;
    for (unsigned stems = *at++; stems > 0; --stems) {
        if (at >= stop) return {};
        const std::size_t shared = *at++;
        const auto rest = take();
        if (!rest || shared > word.text.size()) return {};
        word.stems.push_back(std::string(word.text.substr(0, shared)) + std::string(*rest));
    }
    return word;
}

std::string_view WordLexicon::text(std::uint32_t i) const {
    const auto found = word(i);
    return found ? found->text : std::string_view();
}

std::uint32_t WordLexicon::lowerBound(std::string_view prefix) const {
    std::uint32_t low = 0;
    std::uint32_t high = count_;
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        if (text(middle) < prefix) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

bool WordLexicon::contains(std::string_view word) const {
    const std::uint32_t at = lowerBound(word);
    return at < count_ && text(at) == word;
}

std::vector<std::string> WordLexicon::stemTerms(std::string_view prefix,
                                                std::size_t maxWords) const {
    std::vector<Word> words;
    for (std::uint32_t i = lowerBound(prefix); i < count_; ++i) {
        auto found = word(i);
        if (!found || !found->text.starts_with(prefix)) break;
        words.push_back(std::move(*found));
    }
    if (maxWords > 0 && words.size() > maxWords) {
        // Xapian keeps the terms of a wildcard in their order and picks the
        // most frequent with this call and this comparison (its
        // OrContext::select_most_frequent); ties go the same way here.
        std::nth_element(words.begin(), words.begin() + std::ptrdiff_t(maxWords) - 1, words.end(),
                         [](const Word& a, const Word& b) { return a.documents > b.documents; });
        words.resize(maxWords);
    }
    std::vector<std::string> terms;
    for (const Word& word : words) {
        for (const std::string& stem : word.stems) terms.push_back("Z" + stem);
    }
    std::sort(terms.begin(), terms.end());
    terms.erase(std::unique(terms.begin(), terms.end()), terms.end());
    return terms;
}

}  // namespace lumera
