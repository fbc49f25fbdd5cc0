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
    forEachWord(text, [&](QStringView view, qsizetype start, qsizetype end) {
        const QString word = view.toString();
        if (const QString op = XapianQueryBuilder::parserOperator(word); !op.isEmpty()) {
            excluded = op == u"NOT";
            return;
        }
        const bool minus = start > 0 && text[start - 1] == u'-';
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

}  // namespace lumera
