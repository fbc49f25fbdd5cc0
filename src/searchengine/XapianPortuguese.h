#pragma once

#include <xapian.h>

#include <QStringList>
#include <QStringView>
#include <string>
#include <unordered_map>

#include "searchengine/XapianPhraseStems.h"

namespace lumera {

// Portuguese stems for the index and the query. The Snowball stemmer leaves
// short plurals alone (rios, reis, homens, leões), so a plural is first
// brought to its singular, then stemmed.
class PortugueseStemmer {
  public:
    PortugueseStemmer();
    // word: lower case UTF-8, with or without accents.
    std::string stem(const std::string& word) const;
    static std::string singular(const std::string& word);

  private:
    Xapian::Stem snowball_;
};

// Words that carry no meaning of their own; they are folded, as every query
// word is by the time the stopper sees it.
QStringList portugueseStopWords();
class PortugueseStopper : public Xapian::SimpleStopper {
  public:
    PortugueseStopper();
};

// Folding before stemming weakens the stemmer (informação → informaca but
// informações → informaco), so a stem is always taken from the accented word
// and then folded. This remembers, for the words of one text, which stem each
// folded word stands for.
class AccentedStems {
  public:
    // Records every accented word of text.
    void learn(QStringView text);
    void clear() { stems_.clear(); }
    // The folded stem of the accented word that folds to folded, if one was learnt.
    const std::string* find(const std::string& folded) const;
    const std::unordered_map<std::string, std::string>& entries() const { return stems_; }

  private:
    PortugueseStemmer stemmer_;
    std::unordered_map<std::string, std::string> stems_;
};

// The stemmer the term generator and the query parser call with folded words:
// a learnt accented word gets its accented stem, any other its own. The
// indexer has it pass each word on to be indexed as written.
class AccentAwareStemmer : public Xapian::StemImplementation {
  public:
    explicit AccentAwareStemmer(const AccentedStems& learnt, WrittenWords* words = nullptr)
        : learnt_(learnt), words_(words) {}
    std::string operator()(const std::string& word) override;
    std::string get_description() const override { return "lumera-portuguese"; }

  private:
    const AccentedStems& learnt_;
    WrittenWords* words_;
    PortugueseStemmer stemmer_;
};

}  // namespace lumera
