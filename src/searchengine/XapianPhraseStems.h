#pragma once

#include <xapian.h>

#include <string>

namespace lumera {

// Phrases match stems, so that a phrase finds every form of its words
// ("independencias" in an article that holds "independência"). The index
// gives each stem the position of its word, and keeps each word as written
// (for prefixes) without one; so it grows by no position at all.
namespace phrasestems {
// Marks an index built so. An index built before has positions only on the
// words as written, and its phrases are matched as they were.
inline constexpr const char* kMetadataKey = "lumera-positions";
inline constexpr const char* kMetadataValue = "stems";
}  // namespace phrasestems

// Turns each word of a query that must match at its position (a phrase's
// words, a quoted word) into its stem, or the stems it stands for when typed
// without accents.
class PhraseStems {
  public:
    // stemmer: the one the query parser stems with; both must outlive this.
    PhraseStems(const Xapian::Database& database, const Xapian::Stem& stemmer)
        : database_(database), stemmer_(stemmer) {}
    static bool indexedIn(const Xapian::Database& database);
    // A leaf of the parsed query: a word as written becomes its stems.
    Xapian::Query apply(const Xapian::Query& leaf) const;

  private:
    Xapian::Query stemsOf(const std::string& word) const;

    const Xapian::Database& database_;
    const Xapian::Stem& stemmer_;
};

}  // namespace lumera
