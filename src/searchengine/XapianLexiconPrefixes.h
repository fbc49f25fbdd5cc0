#pragma once

#include <xapian.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "searchengine/XapianWordLexicon.h"

namespace lumera {

// One word lexicon for each index a search combines, in the order of its
// list; null for an index that holds its words as terms.
using WordLexicons = std::vector<std::shared_ptr<const WordLexicon>>;

// Expands the prefixes (bras*) of a parsed query over the indexes' word
// lexicons: the parser gives a prefix as a wildcard over the words as terms,
// which an index of words in its lexicon does not hold.
class LexiconPrefixes {
  public:
    // maxWords, limit: those the parser was given for its wildcards.
    LexiconPrefixes(const WordLexicons& lexicons, Xapian::termcount maxWords, int limit)
        : lexicons_(lexicons), maxWords_(maxWords), limit_(limit) {}
    bool any() const;
    // A wildcard of the parser becomes the stems of its words; an index of
    // words as terms keeps the wildcard too.
    Xapian::Query expand(const Xapian::Query& wildcard) const;

  private:
    struct Wildcard {
        std::string pattern;
        Xapian::Query::op combiner;  // how it joins its words
    };
    std::optional<Wildcard> read(const Xapian::Query& wildcard) const;
    Xapian::Query make(const Wildcard& wildcard) const;

    const WordLexicons& lexicons_;
    const Xapian::termcount maxWords_;
    const int limit_;
};

}  // namespace lumera
