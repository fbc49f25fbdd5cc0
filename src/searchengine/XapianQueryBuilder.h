#pragma once

#include <xapian.h>

#include <QString>
#include <QStringList>

#include "searchengine/XapianLexiconPrefixes.h"
#include "searchengine/XapianPortuguese.h"

namespace lumera {

// Turns what a reader types into a query. Words are folded like the index;
// all must match unless joined by OU/OR; "..." is a phrase of the words in
// any of their forms (stop words inside count); bras* a prefix; E/AND,
// NÃO/NAO/NOT and -palavra as written in capitals; stop words outside
// phrases are left out. Any text gives a query: what the parser rejects is
// searched again as plain words, and a text without words gives the empty
// query, which finds nothing.
class SpellingVariants;

class XapianQueryBuilder {
  public:
    // Wildcards and synonyms are looked up in database, prefixes in the word
    // lexicons of its indexes (none: every index holds its words as terms);
    // both must outlive the builder.
    explicit XapianQueryBuilder(const Xapian::Database& database,
                                const WordLexicons& lexicons = {});
    Xapian::Query build(const QString& request);
    // A word the index does not hold is also searched in the other spellings
    // it holds (SpellingVariants); off only to measure what that costs.
    void setOtherSpellings(bool on) { otherSpellings_ = on; }
    // The other spellings the last build searched, as written.
    const QStringList& searchedSpellings() const { return searched_; }
    // The operator a word typed outside quotes is, in the parser's spelling
    // (OR, AND, NOT); empty for an ordinary word.
    static QString parserOperator(const QString& word);

    // A prefix expands to at most this many words, the most frequent ones.
    static constexpr Xapian::termcount kMaxWildcardExpansion = 100;
    static constexpr int kWildcardLimit = Xapian::Query::WILDCARD_LIMIT_MOST_FREQUENT;

  private:
    bool holds(const std::string& word) const;
    Xapian::Query parse(const QString& request, SpellingVariants* variants);

    const Xapian::Database& database_;
    const WordLexicons& lexicons_;
    PortugueseStopper stopper_;
    bool otherSpellings_ = true;
    QStringList searched_;
};

}  // namespace lumera
