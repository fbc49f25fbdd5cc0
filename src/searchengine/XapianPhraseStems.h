#pragma once

#include <xapian.h>

#include <string>

namespace lumera {

// Phrases match stems, so that a phrase finds every form of its words
// ("independencias" in an article that holds "independência"). The index
// gives each stem the position of its word, and holds each word as written
// (for prefixes and numbers) without one; so it grows by no position at all.
namespace phrasestems {
// Marks an index built so. An index built before has positions only on the
// words as written, and its phrases are matched as they were.
inline constexpr const char* kMetadataKey = "lumera-positions";
inline constexpr const char* kMetadataValue = "stems";
}  // namespace phrasestems

// Indexes each word as written while the term generator reads a text: the
// generator calls its stemmer once for every word, in order, and the stemmer
// passes the word on here.
class WrittenWords {
  public:
    // Words go to document, weighted like the text; nullptr: nowhere.
    void start(Xapian::Document* document, Xapian::termcount weight) {
        document_ = document;
        weight_ = weight;
    }
    void add(const std::string& word) {
        if (document_) document_->add_term(word, weight_);
    }

  private:
    Xapian::Document* document_ = nullptr;
    Xapian::termcount weight_ = 1;
};

// Turns each word of a query that must match at its position (a phrase's
// words, a quoted word) into its stem, or the stems it stands for when typed
// without accents.
class PhraseStems {
  public:
    // stemmer: the one the query parser stems with; both must outlive this.
    PhraseStems(const Xapian::Database& database, const Xapian::Stem& stemmer)
        : database_(database), stemmer_(stemmer) {}
    static bool indexedIn(const Xapian::Database& database);
    Xapian::Query apply(const Xapian::Query& query) const;

  private:
    Xapian::Query stemsOf(const std::string& word) const;

    const Xapian::Database& database_;
    const Xapian::Stem& stemmer_;
};

}  // namespace lumera
