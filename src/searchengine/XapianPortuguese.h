#pragma once

#include <xapian.h>

#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

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

// Every word that one thread meets, with its stem worked out once: an
// edition's few hundred thousand words come back article after article, and
// the Snowball stemmer takes some 2,500 instructions a word. For the words as
// written it also keeps what the word lexicon needs: how many documents hold
// each, and the stems it had there. One map for both, as its look-ups miss
// the processor's caches.
class Vocabulary {
  public:
    struct Word {
        std::string stem;  // PortugueseStemmer's, empty until asked for
        std::uint32_t documents = 0;
        std::vector<std::string> stems;  // without their "Z", usually one
    };
    Word& operator[](const std::string& word) { return words_[word]; }
    // The stem of word, whose entry is entry.
    const std::string& stem(Word& entry, const std::string& word) const;
    const std::string& stem(const std::string& word) { return stem(words_[word], word); }
    // One more document holds the word, under stem.
    static void addDocument(Word& entry, const std::string& stem);
    // Adds another thread's words.
    void merge(const Vocabulary& other);
    const std::unordered_map<std::string, Word>& words() const { return words_; }

  private:
    static void addStem(Word& entry, const std::string& stem);

    PortugueseStemmer stemmer_;
    std::unordered_map<std::string, Word> words_;
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
    explicit AccentedStems(Vocabulary* vocabulary = nullptr) : vocabulary_(vocabulary) {}
    // Records every accented word of text.
    void learn(QStringView text);
    void clear() { stems_.clear(); }
    // Forgets the words whose stem held(stem) denies.
    template <typename Held>
    void keepIf(Held held) {
        std::erase_if(stems_, [&](const auto& entry) { return !held(entry.second); });
    }
    // The folded stem of the accented word that folds to folded, if one was learnt.
    const std::string* find(const std::string& folded) const;
    const std::unordered_map<std::string, std::string>& entries() const { return stems_; }

  private:
    Vocabulary* vocabulary_;
    PortugueseStemmer stemmer_;
    std::unordered_map<std::string, std::string> stems_;
};

// The stemmer the query parser calls with folded words: a learnt accented
// word gets its accented stem, any other its own.
class AccentAwareStemmer : public Xapian::StemImplementation {
  public:
    explicit AccentAwareStemmer(const AccentedStems& learnt) : learnt_(learnt) {}
    std::string operator()(const std::string& word) override;
    std::string get_description() const override { return "lumera-portuguese"; }

  private:
    const AccentedStems& learnt_;
    PortugueseStemmer stemmer_;
};

}  // namespace lumera
