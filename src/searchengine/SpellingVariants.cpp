#include "searchengine/SpellingVariants.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include "searchengine/XapianPortuguese.h"
#include "searchengine/XapianTextFolding.h"

namespace lumera {
namespace {

QString folded(const QString& word) { return foldForSearch(word); }

bool isVowel(QChar c) {
    const QString bare = foldForSearch(QStringView(&c, 1));
    return bare.size() == 1 && QStringLiteral("aeiou").contains(bare[0]);
}

bool isFrontVowel(QChar c) {
    const QString bare = foldForSearch(QStringView(&c, 1));
    return bare == u"e" || bare == u"i";
}

// The rules' words, read once from the data file.
class SpellingRules {
  public:
    static const SpellingRules& get() {
        static const SpellingRules rules;
        return rules;
    }
    const QStringList& prefixes() const { return prefixes_; }
    QStringList pairedWith(const QString& word) const { return pairs_.values(folded(word)); }
    // Whether word belongs to a family whose consonant is pronounced.
    bool pronounced(const QString& word) const {
        return pronounced_.contains(stem(word)) || pronounced_.contains(stem(folded(word)));
    }

  private:
    SpellingRules() {
        QFile file(QStringLiteral(":/lumera-search/grafias.txt"));
        if (!file.open(QIODevice::ReadOnly)) return;
        QString section;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
            const QString text = line.trimmed();
            if (text.isEmpty() || text.startsWith(u'#')) continue;
            if (text.startsWith(u'[')) {
                section = text;
                continue;
            }
            const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
            if (section == u"[prefixos]") {
                prefixes_ += words;
            } else if (section == u"[consoantes pronunciadas]") {
                for (const QString& word : words) {
                    pronounced_.insert(stem(word));
                    pronounced_.insert(stem(folded(word)));
                }
            } else if (section == u"[pares]" && words.size() == 2) {
                pairs_.insert(folded(words[0]), words[1]);
                pairs_.insert(folded(words[1]), words[0]);
            }
        }
    }
    static std::string stem(const QString& word) {
        static const PortugueseStemmer stemmer;
        return stemmer.stem(toUtf8(word));
    }

    QStringList prefixes_;
    QSet<std::string> pronounced_;
    QMultiHash<QString, QString> pairs_;
};

// The compound's parts joined: as they are, with the r or s after a vowel
// doubled (contrarregra, antissemita), and with the h of a second part
// dropped (coerdeiro).
QStringList joined(const QStringList& parts) {
    QString plain = parts[0], doubled = parts[0], withoutH = parts[0];
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString& part = parts[i];
        const bool afterVowel = isVowel(doubled.back());
        const bool single =
            part.size() > 1 && (part[0] == u'r' || part[0] == u's') && isVowel(part[1]);
        plain += part;
        doubled += afterVowel && single ? part[0] + part : part;
        withoutH += part[0] == u'h' ? part.mid(1) : part;
    }
    return {plain, doubled, withoutH};
}

// The word split after a prefix of the rules: auto-estima, micro-ondas,
// contra-regra (the doubled r undone), co-herdeiro.
QStringList split(const QString& word) {
    QStringList forms;
    const QString bare = folded(word);
    if (bare.size() != word.size()) return forms;
    for (const QString& prefix : SpellingRules::get().prefixes()) {
        if (!bare.startsWith(prefix) || bare.size() - prefix.size() < 3) continue;
        const QString head = word.left(prefix.size());
        const QString rest = word.mid(prefix.size());
        const bool doubled = (rest.startsWith(u"rr") || rest.startsWith(u"ss")) && isVowel(rest[2]);
        if (isVowel(head.back()) && doubled) {
            forms << head + u'-' + rest.mid(1);
            continue;
        }
        forms << head + u'-' + rest;
        if (isVowel(rest[0])) forms << head + QStringLiteral("-h") + rest;
    }
    return forms;
}

// Without the silent consonants of Portugal's spelling: one at a time and all
// of them (acção, ação; excepção, exceção; peremptório, perentório).
QStringList withoutSilentConsonants(const QString& word) {
    QStringList forms;
    QString all = word;
    for (qsizetype i = word.size() - 2; i >= 1; --i) {
        const QChar c = word[i], next = word[i + 1];
        // After a vowel; c before t also after r (árctico, ártico).
        const bool after =
            isVowel(word[i - 1]) || (c == u'c' && next == u't' && word[i - 1] == u'r');
        if ((c == u'c' || c == u'p') && after && (next == u'c' || next == u'ç' || next == u't')) {
            forms << QString(word).remove(i, 1);
            all.remove(i, 1);
        } else if (c == u'm' && next == u'p' && i + 2 < word.size() &&
                   (word[i + 2] == u'ç' || word[i + 2] == u't')) {
            forms << QString(word).replace(i, 2, u'n');
        }
    }
    if (forms.size() > 1) forms << all;
    return forms;
}

// With a consonant that Portugal wrote before ç, t or c (ação, acção; ótimo,
// óptimo; acionista, accionista; assunção, assumpção).
QStringList withSilentConsonants(const QString& word) {
    QStringList forms;
    for (qsizetype i = 1; i < word.size(); ++i) {
        const QChar c = word[i];
        const bool beforeSoftC = c == u'c' && i + 1 < word.size() && isFrontVowel(word[i + 1]);
        if (isVowel(word[i - 1]) && (c == u'ç' || c == u't' || beforeSoftC)) {
            forms << QString(word).insert(i, u'c') << QString(word).insert(i, u'p');
        } else if (c == u't' && word[i - 1] == u'r') {
            forms << QString(word).insert(i, u'c');
        }
        if (c == u'n' && i + 1 < word.size() && (word[i + 1] == u'ç' || word[i + 1] == u't')) {
            forms << QString(word).replace(i, 1, QStringLiteral("mp"));
        }
    }
    return forms;
}

}  // namespace

bool SpellingVariants::holds(const QString& form) const {
    const QStringList parts = folded(form).split(u'-', Qt::SkipEmptyParts);
    if (parts.isEmpty()) return false;
    return parts.size() == 1 ? index_.hasWord(parts[0]) : index_.hasPhrase(parts);
}

QStringList SpellingVariants::othersOf(const QString& word) {
    const SpellingRules& rules = SpellingRules::get();
    QStringList candidates;
    if (word.contains(u'-')) {
        const QStringList parts = word.split(u'-', Qt::SkipEmptyParts);
        if (parts.size() > 1) candidates = joined(parts);
    } else if (!holds(word)) {
        candidates = split(word);
        if (!rules.pronounced(word)) candidates += withoutSilentConsonants(word);
        for (const QString& form : withSilentConsonants(word)) {
            if (!rules.pronounced(form)) candidates << form;
        }
        candidates += rules.pairedWith(word);
    }
    QStringList others;
    for (const QString& candidate : candidates) {
        if (candidate == word || others.contains(candidate) || !holds(candidate)) continue;
        others << candidate;
        if (!searched_.contains(candidate)) searched_ << candidate;
    }
    return others;
}

}  // namespace lumera
