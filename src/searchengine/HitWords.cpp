#include "searchengine/HitWords.h"

#include <QSet>
#include <algorithm>
#include <map>

#include "searchengine/XapianPortuguese.h"
#include "searchengine/XapianQueryBuilder.h"
#include "searchengine/XapianTextFolding.h"

namespace lumera {

HitWords::HitWords(const QString& request) {
    const QString text = request.normalized(QString::NormalizationForm_C);
    static const QStringList stopWords = portugueseStopWords();
    bool excluded = false;
    // The words of the quoted phrase being read, and which quote opened it.
    std::vector<Stems> phrase;
    qsizetype phraseQuote = -1;
    const auto endPhrase = [&] {
        if (phrase.size() == 1) stems_.insert({phrase[0].accented, phrase[0].folded});
        if (phrase.size() > 1) phrases_.push_back(phrase);
        phrase.clear();
    };
    forEachWord(text, [&](QStringView view, qsizetype start, qsizetype end) {
        const QString word = view.toString();
        const qsizetype quote = text.lastIndexOf(u'"', start);
        const bool quoted = text.left(start).count(u'"') % 2 == 1;
        if (!quoted || quote != phraseQuote) endPhrase();
        if (quoted) {
            // Stop words too: a phrase matches only with all of its words.
            phraseQuote = quote;
            if (!excluded && !(quote > 0 && text[quote - 1] == u'-')) {
                phrase.push_back(stemsOf(word.toLower()));
            }
            return;
        }
        if (const QString op = XapianQueryBuilder::parserOperator(word); !op.isEmpty()) {
            excluded = op == u"NOT";
            return;
        }
        // A hyphen inside a compound (auto-estima) excludes nothing.
        const bool minus = start > 0 && text[start - 1] == u'-' &&
                           (start == 1 || !isWordCharacter(text[start - 2]));
        const bool prefix = end < text.size() && text[end] == u'*';
        const QString lower = word.toLower();
        if (!excluded && !minus && !stopWords.contains(foldForSearch(lower))) {
            if (prefix) {
                prefixes_.append(foldForSearch(lower));
            } else {
                const Stems stems = stemsOf(lower);
                stems_.insert({stems.accented, stems.folded});
            }
        }
        excluded = false;
    });
    endPhrase();
}

HitWords::Stems HitWords::stemsOf(const QString& lowerWord) {
    static const PortugueseStemmer stemmer;
    return {toUtf8(foldForSearch(fromUtf8(stemmer.stem(toUtf8(lowerWord))))),
            stemmer.stem(toUtf8(foldForSearch(lowerWord)))};
}

// As the index does: a word whose folded stem was searched stands for its
// accented stem, and so for every word of that stem.
QStringList HitWords::in(const QString& text) const {
    std::map<QString, QString> words;  // lower case -> as first written
    forEachWord(text.normalized(QString::NormalizationForm_C),
                [&](QStringView word, qsizetype, qsizetype) {
                    words.emplace(word.toString().toLower(), word.toString());
                });
    std::set<std::string> matched = stems_;
    for (const auto& [lower, written] : words) {
        const Stems stems = stemsOf(lower);
        if (stems_.contains(stems.folded)) matched.insert(stems.accented);
    }
    QStringList found;
    phrasesIn(text.normalized(QString::NormalizationForm_C), found);
    for (const auto& [lower, written] : words) {
        const Stems stems = stemsOf(lower);
        const QString folded = foldForSearch(lower);
        const bool prefixed = std::any_of(prefixes_.begin(), prefixes_.end(),
                                          [&](const QString& p) { return folded.startsWith(p); });
        if (prefixed || matched.contains(stems.accented) || matched.contains(stems.folded)) {
            found.append(written);
        }
    }
    return found;
}

// Each run of the text's words that follows a phrase word for word, from
// its first letter to its last, as written.
void HitWords::phrasesIn(const QString& text, QStringList& found) const {
    if (phrases_.empty()) return;
    struct Word {
        Stems stems;
        qsizetype start;
        qsizetype end;
    };
    std::vector<Word> words;
    forEachWord(text, [&](QStringView word, qsizetype start, qsizetype end) {
        words.push_back({stemsOf(word.toString().toLower()), start, end});
    });
    for (const std::vector<Stems>& phrase : phrases_) {
        for (std::size_t at = 0; at + phrase.size() <= words.size(); ++at) {
            std::size_t same = 0;
            while (same < phrase.size() && sameWord(phrase[same], words[at + same].stems)) ++same;
            if (same < phrase.size()) continue;
            const QString run =
                text.mid(words[at].start, words[at + same - 1].end - words[at].start);
            if (!found.contains(run)) found.append(run);
        }
    }
}

}  // namespace lumera
