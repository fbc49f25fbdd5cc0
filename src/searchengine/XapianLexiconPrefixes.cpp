#include "searchengine/XapianLexiconPrefixes.h"

#include <algorithm>

namespace lumera {

bool LexiconPrefixes::any() const {
    return std::any_of(lexicons_.begin(), lexicons_.end(),
                       [](const auto& l) { return l != nullptr; });
}

Xapian::Query LexiconPrefixes::make(const Wildcard& wildcard) const {
    return Xapian::Query(Xapian::Query::OP_WILDCARD, wildcard.pattern, maxWords_, limit_,
                         wildcard.combiner);
}

// Xapian has no accessor for a wildcard's pattern. Its serialised form ends
// with the pattern's length, one byte under 255, and the pattern, after a
// header that the other settings make; the pattern read so is checked by
// serialising a wildcard of it again.
std::optional<LexiconPrefixes::Wildcard> LexiconPrefixes::read(const Xapian::Query& query) const {
    const std::string whole = query.serialise();
    for (const auto combiner : {Xapian::Query::OP_SYNONYM, Xapian::Query::OP_OR}) {
        const std::string probe = make({"x", combiner}).serialise();
        const std::string_view header(probe.data(), probe.size() - 2);
        if (whole.size() <= header.size() || !whole.starts_with(header)) continue;
        Wildcard wildcard{whole.substr(header.size() + 1), combiner};
        if (make(wildcard).serialise() == whole) return wildcard;
    }
    return {};
}

Xapian::Query LexiconPrefixes::expand(const Xapian::Query& query) const {
    const std::optional<Wildcard> wildcard = read(query);
    if (!wildcard) return query;
    std::vector<std::string> terms;
    bool asTermsToo = false;
    for (const auto& lexicon : lexicons_) {
        if (!lexicon) {
            asTermsToo = true;
            continue;
        }
        const std::vector<std::string> own = lexicon->stemTerms(wildcard->pattern, maxWords_);
        terms.insert(terms.end(), own.begin(), own.end());
    }
    std::sort(terms.begin(), terms.end());
    terms.erase(std::unique(terms.begin(), terms.end()), terms.end());
    const Xapian::Query stems(wildcard->combiner, terms.begin(), terms.end());
    return asTermsToo ? Xapian::Query(Xapian::Query::OP_OR, query, stems) : stems;
}

}  // namespace lumera
