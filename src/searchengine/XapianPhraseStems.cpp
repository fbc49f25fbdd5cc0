#include "searchengine/XapianPhraseStems.h"

#include <set>
#include <vector>

namespace lumera {
namespace {

// Stems carry this prefix, as the term generator and the query parser write them.
constexpr char kStemPrefix = 'Z';

bool isWordAsWritten(const std::string& term) {
    // Words are folded to lower case; a capital starts a prefix.
    return !term.empty() && !(term.front() >= 'A' && term.front() <= 'Z');
}

// The operators whose query is rebuilt from its subqueries alone; any other
// (a prefix's expansion, a weight scale) is kept as it is.
bool isRebuiltFromSubqueries(Xapian::Query::op op) {
    switch (op) {
        case Xapian::Query::OP_AND:
        case Xapian::Query::OP_OR:
        case Xapian::Query::OP_AND_NOT:
        case Xapian::Query::OP_XOR:
        case Xapian::Query::OP_AND_MAYBE:
        case Xapian::Query::OP_FILTER:
        case Xapian::Query::OP_SYNONYM:
        case Xapian::Query::OP_PHRASE:  // its window is its number of words
            return true;
        default:
            return false;
    }
}

}  // namespace

bool PhraseStems::indexedIn(const Xapian::Database& database) {
    return database.get_metadata(phrasestems::kMetadataKey) == phrasestems::kMetadataValue;
}

Xapian::Query PhraseStems::apply(const Xapian::Query& query) const {
    const Xapian::Query::op op = query.get_type();
    if (op == Xapian::Query::LEAF_TERM) {
        const std::string term = *query.get_terms_begin();
        return isWordAsWritten(term) ? stemsOf(term) : query;
    }
    if (!isRebuiltFromSubqueries(op)) return query;
    std::vector<Xapian::Query> subqueries;
    subqueries.reserve(query.get_num_subqueries());
    for (std::size_t i = 0; i < query.get_num_subqueries(); ++i) {
        subqueries.push_back(apply(query.get_subquery(i)));
    }
    return Xapian::Query(op, subqueries.begin(), subqueries.end());
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
