#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace lumera {

// What the index holds, asked of folded words.
struct IndexedForms {
    std::function<bool(const QString& word)> hasWord;
    // Whether some document holds the words one after the other.
    std::function<bool(const QStringList& words)> hasPhrase;
};

// The other spellings of a typed word that an edition of 2002 may hold: the
// agreement of 1990 joined or hyphenated compounds (auto-estima, autoestima;
// microondas, micro-ondas; contra-regra, contrarregra), and Portugal and
// Brazil write the silent consonants (acção, ação; óptimo, ótimo) and a few
// words (facto, fato) apart. A word is looked for in another spelling only
// when the index does not hold it as typed and holds the other, so that no
// spelling stands in for a word that is there; the consonants that both
// variants pronounce are never dropped or added (pacto is not pato). A
// hyphenated compound, which cannot be another word, is also looked for
// joined when both are there.
class SpellingVariants {
  public:
    explicit SpellingVariants(IndexedForms index) : index_(std::move(index)) {}

    // Whether the index holds form: a word, or parts joined by hyphens.
    bool holds(const QString& form) const;
    // The other spellings of word (one word, or parts joined by hyphens, in
    // lower case with its accents) that the index holds.
    QStringList othersOf(const QString& word);
    // Every spelling othersOf gave, as written, each once.
    const QStringList& searched() const { return searched_; }

  private:
    IndexedForms index_;
    QStringList searched_;
};

}  // namespace lumera
