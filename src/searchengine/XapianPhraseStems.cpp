#include "searchengine/XapianPhraseStems.h"

#include <set>

namespace lumera {
namespace {

// Stems carry this prefix, as the term generator and the query parser write them.
constexpr char kStemPrefix = 'Z';

bool isWordAsWritten(const std::string& term) {
    // Words are folded to lower case; a capital starts a prefix.
    return !term.empty() && !(term.front() >= 'A' && term.front() <= 'Z');
}

}  // namespace

bool PhraseStems::indexedIn(const Xapian::Database& database) {
    return database.get_metadata(phrasestems::kMetadataKey) == phrasestems::kMetadataValue;
}

Xapian::Query PhraseStems::apply(const Xapian::Query& leaf) const {
    if (leaf.get_type() != Xapian::Query::LEAF_TERM) return leaf;
    const std::string term = *leaf.get_terms_begin();
    return isWordAsWritten(term) ? stemsOf(term) : leaf;
}

Xapian::Query PhraseStems::stemsOf(const std::string& word) const {
    const std::string stem = kStemPrefix + stemmer_(word);
    std::set<std::string> stems = {stem};
    for (auto it = database_.synonyms_begin(stem); it != database_.synonyms_end(stem); ++it) {
        stems.insert(*it);
    }
    if (stems.size() == 1) return Xapian::Query(stem);
    return Xapian::Query(Xapian::Query::OP_OR, stems.begin(), stems.end());
}

}  // namespace lumera
