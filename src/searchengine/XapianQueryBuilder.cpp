#include "searchengine/XapianQueryBuilder.h"

#include <QHash>
#include <QStringList>
#include <algorithm>
#include <functional>

#include "searchengine/SpellingVariants.h"
#include "searchengine/XapianLog.h"
#include "searchengine/XapianPhraseStems.h"
#include "searchengine/XapianQueryRewrite.h"
#include "searchengine/XapianTextFolding.h"

namespace lumera {

// Only the exact capitals count: "e" and "ou" are ordinary (stop) words.
QString XapianQueryBuilder::parserOperator(const QString& word) {
    static const QHash<QString, QString> operators = {
        {QStringLiteral("OU"), QStringLiteral("OR")},
        {QStringLiteral("OR"), QStringLiteral("OR")},
        {QStringLiteral("E"), QStringLiteral("AND")},
        {QStringLiteral("AND"), QStringLiteral("AND")},
        {QStringLiteral("NÃO"), QStringLiteral("NOT")},
        {QStringLiteral("NAO"), QStringLiteral("NOT")},
        {QStringLiteral("NOT"), QStringLiteral("NOT")}};
    return operators.value(word);
}

namespace {

bool isQuotationMark(QChar c) {
    switch (c.unicode()) {
        case u'"':
        case 0x201C:  // “
        case 0x201D:  // ”
        case 0x201E:  // „
        case 0x00AB:  // «
        case 0x00BB:  // »
            return true;
        default:
            return false;
    }
}

// The request as the parser reads it: words folded, operators in the
// parser's spelling, every kind of quotation mark a plain one. plainWords
// holds the words alone for a second attempt.
struct PreparedRequest {
    QString parserText;
    QStringList plainWords;
};

// The parser keeps a word's trailing + or # (C++, C#) unless the index holds
// the word without them and not with them; it asks the index, which holds
// no words as written when they are in its lexicon. known(word) answers.
qsizetype suffixEnd(const QString& text, qsizetype end, const QString& word,
                    const std::function<bool(const std::string&)>& known) {
    qsizetype after = end;
    while (after < text.size() && (text[after] == u'+' || text[after] == u'#')) ++after;
    if (after == end || after - end > 3 || (after < text.size() && isWordCharacter(text[after]))) {
        return end;
    }
    const std::string plain = toUtf8(word);
    return !known(plain + toUtf8(text.mid(end, after - end))) && known(plain) ? after : end;
}

bool isHyphen(QChar c) { return c == u'-' || c == u'\u2010' || c == u'\u2011'; }

// The end of the word or hyphenated compound (auto-estima) that starts at i.
qsizetype compoundEnd(const QString& text, qsizetype i) {
    qsizetype end = i;
    while (true) {
        while (end < text.size() && isWordCharacter(text[end])) ++end;
        if (end + 1 >= text.size() || !isHyphen(text[end]) || !isWordCharacter(text[end + 1])) {
            return end;
        }
        ++end;
    }
}

// The spellings to search for a word or compound: as typed, and the others
// that the index holds. Outside a phrase they are alternatives, unless a +
// or - before them asks for one term; inside, the typed one if the index
// holds it, else the first other one.
QString searchedForms(const QString& typed, bool inPhrase, const QString& parserText,
                      SpellingVariants& variants) {
    const QString word = typed.toLower().replace(QChar(0x2010), u'-').replace(QChar(0x2011), u'-');
    QStringList forms = variants.othersOf(word);
    if (forms.isEmpty()) return searchableText(word);
    const QString before = parserText.trimmed();
    const bool single = inPhrase || before.endsWith(u'-') || before.endsWith(u'+');
    if (single) return searchableText(variants.holds(word) ? word : forms[0]);
    forms.prepend(word);
    for (QString& form : forms) form = searchableText(form);
    return u'(' + forms.join(QStringLiteral(" OR ")) + u')';
}

PreparedRequest prepare(const QString& request,
                        const std::function<bool(const std::string&)>& known,
                        SpellingVariants* variants) {
    const QString text = request.normalized(QString::NormalizationForm_C);
    PreparedRequest prepared;
    bool inPhrase = false;
    qsizetype i = 0;
    while (i < text.size()) {
        if (!isWordCharacter(text[i])) {
            const QChar c = text[i];
            if (isQuotationMark(c)) {
                inPhrase = !inPhrase;
                prepared.parserText += u'"';
            } else {
                prepared.parserText += searchableText(QStringView(&c, 1));
            }
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && isWordCharacter(text[end])) ++end;
        const QString word = text.mid(i, end - i);
        const QString op = inPhrase ? QString() : XapianQueryBuilder::parserOperator(word);
        const bool prefix = end < text.size() && text[end] == u'*';
        if (!op.isEmpty()) {
            prepared.parserText += op;
        } else if (variants && !prefix) {
            end = compoundEnd(text, i);
            const QString typed = text.mid(i, end - i);
            prepared.parserText += searchedForms(typed, inPhrase, prepared.parserText, *variants);
            prepared.plainWords += searchableText(typed).split(u'-', Qt::SkipEmptyParts);
            if (end == i + word.size()) end = suffixEnd(text, end, searchableText(word), known);
        } else {
            const QString folded = searchableText(word);
            prepared.parserText += folded;
            prepared.plainWords += folded;
            end = suffixEnd(text, end, folded, known);
        }
        i = end;
    }
    return prepared;
}

constexpr unsigned kSyntaxFlags =
    Xapian::QueryParser::FLAG_BOOLEAN | Xapian::QueryParser::FLAG_PHRASE |
    Xapian::QueryParser::FLAG_LOVEHATE | Xapian::QueryParser::FLAG_WILDCARD |
    Xapian::QueryParser::FLAG_PURE_NOT | Xapian::QueryParser::FLAG_AUTO_SYNONYMS;

}  // namespace

XapianQueryBuilder::XapianQueryBuilder(const Xapian::Database& database,
                                       const WordLexicons& lexicons)
    : database_(database), lexicons_(lexicons) {}

Xapian::Query XapianQueryBuilder::build(const QString& request) {
    SpellingVariants variants({[this](const QString& word) { return holds(toUtf8(word)); },
                               [this](const QStringList& words) {
                                   const Xapian::Query phrase =
                                       parse(u'"' + words.join(u' ') + u'"', nullptr);
                                   if (phrase.empty()) return false;
                                   Xapian::Enquire enquire(database_);
                                   enquire.set_query(phrase);
                                   return !enquire.get_mset(0, 1).empty();
                               }});
    const Xapian::Query query = parse(request, otherSpellings_ ? &variants : nullptr);
    searched_ = variants.searched();
    return query;
}

bool XapianQueryBuilder::holds(const std::string& word) const {
    return database_.term_exists(word) ||
           std::any_of(lexicons_.begin(), lexicons_.end(),
                       [&](const auto& lexicon) { return lexicon && lexicon->contains(word); });
}

Xapian::Query XapianQueryBuilder::parse(const QString& request, SpellingVariants* variants) {
    const PreparedRequest prepared = prepare(
        request, [this](const std::string& word) { return holds(word); }, variants);
    if (prepared.plainWords.isEmpty()) return Xapian::Query();

    AccentedStems typedStems;
    typedStems.learn(request);
    // The other spellings are stemmed as written too, accents and all.
    if (variants) typedStems.learn(variants->searched().join(u' '));
    // An accent the text does not have (bilíngüe typed, bilíngue written) may
    // give a stem the index lacks; the folded word's own stem then stands.
    typedStems.keepIf([this](const std::string& stem) {
        const std::string term = 'Z' + stem;
        return database_.term_exists(term) ||
               database_.synonyms_begin(term) != database_.synonyms_end(term);
    });
    const Xapian::Stem stemmer(new AccentAwareStemmer(typedStems));
    const PhraseStems phraseStems(database_, stemmer);
    const bool phrasesOfStems = PhraseStems::indexedIn(database_);
    const LexiconPrefixes prefixes(lexicons_, kMaxWildcardExpansion, kWildcardLimit);
    // The words of phrases and prefixes as the index holds them.
    const auto asIndexed = [&](const Xapian::Query& query) {
        return rewriteLeaves(query, [&](const Xapian::Query& leaf) {
            if (leaf.get_type() == Xapian::Query::OP_WILDCARD) {
                return prefixes.any() ? prefixes.expand(leaf) : leaf;
            }
            return phrasesOfStems ? phraseStems.apply(leaf) : leaf;
        });
    };
    Xapian::QueryParser parser;
    parser.set_database(database_);
    parser.set_stemmer(stemmer);
    parser.set_stemming_strategy(Xapian::QueryParser::STEM_SOME);
    parser.set_stopper(&stopper_);
    parser.set_default_op(Xapian::Query::OP_AND);
    parser.set_max_expansion(kMaxWildcardExpansion, kWildcardLimit,
                             Xapian::QueryParser::FLAG_WILDCARD);
    try {
        return asIndexed(parser.parse_query(toUtf8(prepared.parserText), kSyntaxFlags));
    } catch (const Xapian::QueryParserError& error) {
        qCDebug(lcSearch) << "request" << request
                          << "read as plain words:" << error.get_msg().c_str();
    }
    try {
        return asIndexed(parser.parse_query(toUtf8(prepared.plainWords.join(u' ')),
                                            Xapian::QueryParser::FLAG_AUTO_SYNONYMS));
    } catch (const Xapian::QueryParserError& error) {
        qCWarning(lcSearch) << "request" << request << "rejected:" << error.get_msg().c_str();
        return Xapian::Query();
    }
}

}  // namespace lumera
