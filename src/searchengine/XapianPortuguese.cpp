#include "searchengine/XapianPortuguese.h"

#include "searchengine/XapianTextFolding.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace lumera {
namespace {

bool endsWith(const std::string& word, std::string_view suffix) {
    return word.size() >= suffix.size() &&
           std::string_view(word).substr(word.size() - suffix.size()) == suffix;
}

std::string replaceEnd(const std::string& word, std::size_t cut, std::string_view by) {
    return word.substr(0, word.size() - cut) + std::string(by);
}

bool isPlainVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

// Number of characters, not bytes, of a UTF-8 word.
std::size_t letterCount(const std::string& word) {
    std::size_t n = 0;
    for (const char c : word) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    }
    return n;
}

struct PluralRule {
    std::string_view plural;
    std::string_view singular;
    std::size_t minLetters;
};

// Tried in order; the first whose ending and length fit wins. Each ending is
// given with and without its accent, as a query may be typed either way.
constexpr std::array kPluralRules = {
    PluralRule{"ões", "ão", 4},
    PluralRule{"oes", "ao", 4},  // leões, nações
    PluralRule{"ães", "ão", 4},
    PluralRule{"aes", "ao", 4},  // cães, alemães
    PluralRule{"éis", "el", 5},  // papéis, anéis
    PluralRule{"óis", "ol", 4},  // sóis, faróis
    PluralRule{"ais", "al", 5},  // animais; not mais, pais
    PluralRule{"ns", "m", 3},    // homens, fins, bens
    // After an accented vowel most words are singular (mês, país, gás,
    // inglês); these endings are plurals: irmãs, avós, robôs, cafés.
    PluralRule{"ãs", "ã", 3},
    PluralRule{"ós", "ó", 4},
    PluralRule{"ôs", "ô", 4},
    PluralRule{"és", "é", 3},
};

// Plurals whose singular the rules above would get wrong.
constexpr std::array<std::pair<std::string_view, std::string_view>, 2> kIrregular = {{
    {"heróis", "herói"},
    {"herois", "heroi"},
}};

constexpr auto kStopWords = std::to_array<std::string_view>({
    "a",     "à",      "ao",     "aos",    "aquela", "aquelas", "aquele",  "aqueles", "aquilo",
    "as",    "às",     "até",    "com",    "como",   "da",      "das",     "de",      "dela",
    "delas", "dele",   "deles",  "depois", "do",     "dos",     "e",       "é",       "ela",
    "elas",  "ele",    "eles",   "em",     "entre",  "essa",    "essas",   "esse",    "esses",
    "esta",  "está",   "estão",  "estas",  "estava", "estavam", "este",    "estes",   "eu",
    "foi",   "foram",  "há",     "isso",   "isto",   "já",      "lhe",     "lhes",    "mais",
    "mas",   "me",     "mesmo",  "meu",    "meus",   "minha",   "minhas",  "muito",   "muitos",
    "na",    "não",    "nas",    "nem",    "no",     "nos",     "nós",     "nossa",   "nossas",
    "nosso", "nossos", "num",    "numa",   "o",      "os",      "ou",      "para",    "pela",
    "pelas", "pelo",   "pelos",  "por",    "qual",   "quando",  "que",     "quem",    "são",
    "se",    "sem",    "ser",    "seu",    "seus",   "só",      "sua",     "suas",    "também",
    "te",    "tem",    "têm",    "teu",    "teus",   "tinha",   "tinham",  "tu",      "tua",
    "tuas",  "um",     "uma",    "umas",   "uns",    "você",    "vocês",   "vos",     "nuns",
    "numas", "dum",    "duma",   "duns",   "dumas",  "naquele", "naquela", "daquele", "daquela",
    "neste", "nesta",  "nestes", "nestas", "nesse",  "nessa",   "desse",   "dessa",   "deste",
    "desta", "destes", "destas", "sobre",  "sob",    "contra",  "cada",    "onde",    "qualquer",
    "quais", "seja",   "sejam",  "sido",
});

}  // namespace

PortugueseStemmer::PortugueseStemmer() : snowball_("portuguese") {}

std::string PortugueseStemmer::singular(const std::string& word) {
    // Every plural above ends in s, and most words do not.
    if (word.empty() || word.back() != 's') return word;
    for (const auto& [plural, single] : kIrregular) {
        if (word == plural) return std::string(single);
    }
    const std::size_t letters = letterCount(word);
    for (const PluralRule& rule : kPluralRules) {
        if (letters >= rule.minLetters && endsWith(word, rule.plural)) {
            return replaceEnd(word, rule.plural.size(), rule.singular);
        }
    }
    // A plain s after an unaccented vowel (rios, reis, ilhas, flores: the
    // stemmer drops the e that remains).
    if (letters >= 3 && word.back() == 's' && isPlainVowel(word[word.size() - 2])) {
        return word.substr(0, word.size() - 1);
    }
    return word;
}

std::string PortugueseStemmer::stem(const std::string& word) const {
    return snowball_(singular(word));
}

const std::string& Vocabulary::stem(Word& entry, const std::string& word) const {
    if (entry.stem.empty()) entry.stem = stemmer_.stem(word);
    return entry.stem;
}

void Vocabulary::addDocument(Word& entry, const std::string& stem) {
    ++entry.documents;
    addStem(entry, stem);
}

void Vocabulary::addStem(Word& entry, const std::string& stem) {
    if (std::find(entry.stems.begin(), entry.stems.end(), stem) == entry.stems.end()) {
        entry.stems.push_back(stem);
    }
}

void Vocabulary::merge(const Vocabulary& other) {
    for (const auto& [word, theirs] : other.words_) {
        Word& ours = words_[word];
        if (ours.stem.empty()) ours.stem = theirs.stem;
        ours.documents += theirs.documents;
        for (const std::string& stem : theirs.stems) addStem(ours, stem);
    }
}

QStringList portugueseStopWords() {
    QStringList words;
    words.reserve(static_cast<qsizetype>(kStopWords.size()));
    for (const std::string_view word : kStopWords) {
        words.append(foldForSearch(QString::fromUtf8(word.data(), qsizetype(word.size()))));
    }
    words.removeDuplicates();
    return words;
}

PortugueseStopper::PortugueseStopper() {
    for (const QString& word : portugueseStopWords()) add(toUtf8(word));
}

void AccentedStems::learn(QStringView text) {
    // No character below U+0300 composes with another, and nearly every
    // article holds none above: normalizing them all cost a tenth of the
    // indexer's instructions.
    const bool composed =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x300; });
    const QString normalized =
        composed ? QString() : text.toString().normalized(QString::NormalizationForm_C);
    const QStringView words = composed ? text : QStringView(normalized);
    forEachWord(words, [this](QStringView word, qsizetype, qsizetype) {
        // Nothing to fold, and most words are like this.
        if (std::all_of(word.begin(), word.end(), [](QChar c) { return c.unicode() < 0x80; })) {
            return;
        }
        const QString lower = word.toString().toLower();
        const QString folded = foldForSearch(lower);
        if (folded == lower) return;
        const std::string key = toUtf8(folded);
        if (stems_.find(key) == stems_.end()) {
            const std::string accented = toUtf8(lower);
            const std::string stem =
                vocabulary_ ? vocabulary_->stem(accented) : stemmer_.stem(accented);
            stems_.emplace(key, toUtf8(foldForSearch(fromUtf8(stem))));
        }
    });
}

const std::string* AccentedStems::find(const std::string& folded) const {
    const auto it = stems_.find(folded);
    return it == stems_.end() ? nullptr : &it->second;
}

std::string AccentAwareStemmer::operator()(const std::string& word) {
    if (const std::string* learnt = learnt_.find(word)) return *learnt;
    return stemmer_.stem(word);
}

}  // namespace lumera
