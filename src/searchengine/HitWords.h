#pragma once

#include <QString>
#include <QStringList>
#include <set>
#include <string>
#include <vector>

namespace lumera {

// The words of a page that a search matched, to show them: every form that
// shares a stem with a searched word, written with or without accents in any
// letter case, and the words a searched prefix (bras*) starts; a quoted
// phrase ("rio amazonas") only where its words follow one another, as one
// mark. Operators, stop words and words the search excludes (-palavra, NÃO
// palavra) are none.
class HitWords {
  public:
    explicit HitWords(const QString& request);
    bool isEmpty() const { return stems_.empty() && prefixes_.isEmpty() && phrases_.empty(); }
    // The distinct words and phrases of text, as written there, that the
    // search matched.
    QStringList in(const QString& text) const;

  private:
    // A word's stems: of its accented spelling (folded) and of its folded one.
    struct Stems {
        std::string accented;
        std::string folded;
    };
    static Stems stemsOf(const QString& lowerWord);
    static bool sameWord(const Stems& searched, const Stems& written) {
        return searched.accented == written.accented || searched.folded == written.folded ||
               searched.accented == written.folded;
    }
    void phrasesIn(const QString& text, QStringList& found) const;

    std::set<std::string> stems_;
    std::vector<std::vector<Stems>> phrases_;  // two words or more
    QStringList prefixes_;                     // folded
};

}  // namespace lumera
