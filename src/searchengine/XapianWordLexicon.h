#pragma once

#include <xapian.h>

#include <QFile>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "searchengine/XapianPortuguese.h"

namespace lumera {

// The words as written of an index that keeps them out of its postings
// (WrittenWordsKept::InLexicon), in a file beside the index's own tables:
// each word, sorted, with the number of documents that hold it and the stems
// it was indexed under. A prefix (bras*) expands to the stems of the words
// it begins, chosen as Xapian chose among the words themselves.
class WordLexicon {
  public:
    static inline const QString kFileName = QStringLiteral("lumera-words");
    // Marks an index built so; an index without the mark holds its words as
    // terms, and its prefixes expand over them.
    static constexpr const char* kMetadataKey = "lumera-written";
    static constexpr const char* kMetadataValue = "lexicon";
    // index: one index, not several combined.
    static bool keptIn(const Xapian::Database& index);

    // The entries of a lexicon of words (those that documents hold), made
    // while the index is compacted; write() adds what ties them to the index.
    struct Encoded {
        std::uint32_t count = 0;
        std::string offsets;
        std::string entries;
    };
    static Encoded encode(const Vocabulary& words);
    // Writes the lexicon of the finished index in folder. Throws
    // std::runtime_error.
    static void write(const QString& folder, const Encoded& encoded);
    // The lexicon of the index in folder; empty when there is none, or it is
    // damaged or belongs to another state of the index.
    static std::shared_ptr<const WordLexicon> open(const QString& folder,
                                                   const Xapian::Database& index);
    // The stem terms ("Z" + stem) of the words that begin with prefix; when
    // there are more than maxWords, of the maxWords that the most documents
    // hold, picked as Xapian's WILDCARD_LIMIT_MOST_FREQUENT picks terms, so
    // that the words are those an index of words as terms would expand to.
    std::vector<std::string> stemTerms(std::string_view prefix, std::size_t maxWords) const;
    bool contains(std::string_view word) const;
    std::uint32_t size() const { return count_; }

  private:
    struct Word {
        std::string_view text;
        std::uint32_t documents = 0;
        std::vector<std::string> stems;
    };
    WordLexicon() = default;
    // Entry i, read with every bound checked: a damaged file gives no word.
    std::optional<Word> word(std::uint32_t i) const;
    std::string_view text(std::uint32_t i) const;
    std::uint32_t lowerBound(std::string_view prefix) const;

    QFile file_;
    const std::uint32_t* offsets_ = nullptr;  // count_ + 1, into entries_
    const unsigned char* entries_ = nullptr;
    std::uint32_t entryBytes_ = 0;
    std::uint32_t count_ = 0;
};

}  // namespace lumera
