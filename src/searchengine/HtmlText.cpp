#include "searchengine/HtmlText.h"

#include <QHash>
#include <QSet>
#include <array>
#include <optional>

#include "host/Windows1252.h"

namespace lumera {
namespace {

// Names of U+00A0..U+00FF, in code point order.
constexpr std::array<const char*, 96> kLatin1Names = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

// Greek letters from U+0391 and U+03B1; U+03A2 has no capital.
constexpr std::array<const char*, 25> kGreekNames = {
    "alpha", "beta",   "gamma",   "delta", "epsilon", "zeta",    "eta",  "theta", "iota",
    "kappa", "lambda", "mu",      "nu",    "xi",      "omicron", "pi",   "rho",   "sigmaf",
    "sigma", "tau",    "upsilon", "phi",   "chi",     "psi",     "omega"};

struct NamedCharacter {
    const char* name;
    char32_t code;
};
constexpr auto kOtherNames = std::to_array<NamedCharacter>({
    {"quot", 34},     {"amp", 38},      {"apos", 39},     {"lt", 60},       {"gt", 62},
    {"OElig", 338},   {"oelig", 339},   {"Scaron", 352},  {"scaron", 353},  {"Yuml", 376},
    {"fnof", 402},    {"circ", 710},    {"tilde", 732},   {"ensp", 8194},   {"emsp", 8195},
    {"thinsp", 8201}, {"zwnj", 8204},   {"zwj", 8205},    {"lrm", 8206},    {"rlm", 8207},
    {"ndash", 8211},  {"mdash", 8212},  {"lsquo", 8216},  {"rsquo", 8217},  {"sbquo", 8218},
    {"ldquo", 8220},  {"rdquo", 8221},  {"bdquo", 8222},  {"dagger", 8224}, {"Dagger", 8225},
    {"bull", 8226},   {"hellip", 8230}, {"permil", 8240}, {"prime", 8242},  {"Prime", 8243},
    {"lsaquo", 8249}, {"rsaquo", 8250}, {"oline", 8254},  {"frasl", 8260},  {"euro", 8364},
    {"trade", 8482},  {"larr", 8592},   {"uarr", 8593},   {"rarr", 8594},   {"darr", 8595},
    {"harr", 8596},   {"minus", 8722},  {"infin", 8734},  {"asymp", 8776},  {"ne", 8800},
    {"le", 8804},     {"ge", 8805},
});

const QHash<QString, char32_t>& namedCharacters() {
    static const QHash<QString, char32_t> table = [] {
        QHash<QString, char32_t> names;
        for (std::size_t i = 0; i < kLatin1Names.size(); ++i) {
            names.insert(QString::fromLatin1(kLatin1Names[i]), char32_t(0xA0 + i));
        }
        for (std::size_t i = 0; i < kGreekNames.size(); ++i) {
            const QString lower = QString::fromLatin1(kGreekNames[i]);
            names.insert(lower, char32_t(0x03B1 + i));
            if (lower != u"sigmaf") {
                names.insert(lower.left(1).toUpper() + lower.mid(1), char32_t(0x0391 + i));
            }
        }
        for (const NamedCharacter& named : kOtherNames) {
            names.insert(QString::fromLatin1(named.name), named.code);
        }
        return names;
    }();
    return table;
}

// Numeric references in 128..159 name Windows-1252 bytes in old pages, as
// browsers read them.
char32_t numericCharacter(char32_t value) {
    if (value >= 0x80 && value < 0xA0) {
        return windows1252::decode(QByteArray(1, char(value))).at(0).unicode();
    }
    const bool valid = value > 0 && value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF);
    return valid ? value : char32_t(0xFFFD);
}

bool isDigitOf(QChar c, bool hex) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return true;
    return hex && ((u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F'));
}

// A reference after its "&"; nullopt when the text is not one, so the "&"
// stays as it is.
std::optional<char32_t> decodeReference(QStringView text, qsizetype* consumed) {
    constexpr qsizetype kLongestName = 32;
    if (text.startsWith(u'#')) {
        const bool hex = text.size() > 1 && (text[1] == u'x' || text[1] == u'X');
        qsizetype i = hex ? 2 : 1;
        const qsizetype digitsStart = i;
        while (i < text.size() && i - digitsStart < 8 && isDigitOf(text[i], hex)) ++i;
        if (i == digitsStart) return std::nullopt;
        bool ok = false;
        const uint value = text.mid(digitsStart, i - digitsStart).toUInt(&ok, hex ? 16 : 10);
        if (i < text.size() && text[i] == u';') ++i;
        *consumed = i;
        return numericCharacter(ok ? value : 0);
    }
    qsizetype i = 0;
    while (i < text.size() && i < kLongestName && text[i].isLetterOrNumber() &&
           text[i].unicode() < 128) {
        ++i;
    }
    const auto found = namedCharacters().constFind(text.left(i).toString());
    if (found == namedCharacters().constEnd()) return std::nullopt;
    if (i < text.size() && text[i] == u';') ++i;
    *consumed = i;
    return found.value();
}

// Elements whose content is not text to read.
bool isSkippedElement(const QString& name) {
    return name == u"script" || name == u"style" || name == u"title";
}

// Tags that style a run of text without breaking it: "<b>Bra</b>sil" is one word.
bool isInlineElement(const QString& name) {
    static const QSet<QString> inlineNames = {
        QStringLiteral("a"),      QStringLiteral("abbr"),   QStringLiteral("b"),
        QStringLiteral("big"),    QStringLiteral("cite"),   QStringLiteral("code"),
        QStringLiteral("em"),     QStringLiteral("font"),   QStringLiteral("i"),
        QStringLiteral("s"),      QStringLiteral("small"),  QStringLiteral("span"),
        QStringLiteral("strike"), QStringLiteral("strong"), QStringLiteral("sub"),
        QStringLiteral("sup"),    QStringLiteral("tt"),     QStringLiteral("u")};
    return inlineNames.contains(name);
}

// Reads HTML from left to right, writing the text it holds.
class HtmlReader {
  public:
    // keepTitle: a page's title line is read for the title it holds.
    HtmlReader(QStringView html, bool keepTitle) : html_(html), keepTitle_(keepTitle) {
        text_.reserve(html.size());
    }

    QString read() {
        while (pos_ < html_.size()) {
            const QChar c = html_[pos_];
            if (c == u'<') {
                readMarkup();
            } else if (c == u'&') {
                readReference();
            } else {
                appendCharacter(c);
                ++pos_;
            }
        }
        return text_.trimmed();
    }

  private:
    void appendCharacter(QChar c) {
        if (c.isSpace()) {
            appendBlank();
        } else {
            text_.append(c);
        }
    }
    void appendBlank() {
        if (!text_.isEmpty() && text_.back() != u' ') text_.append(u' ');
    }

    void readReference() {
        qsizetype consumed = 0;
        if (const auto code = decodeReference(html_.mid(pos_ + 1), &consumed)) {
            const QString decoded = QString::fromUcs4(&*code, 1);
            for (const QChar c : decoded) appendCharacter(c);
            pos_ += 1 + consumed;
        } else {
            text_.append(u'&');
            ++pos_;
        }
    }

    void readMarkup() {
        const QStringView rest = html_.mid(pos_);
        if (rest.startsWith(u"<!--")) {
            skipPast(u"-->", pos_ + 4);
        } else if (rest.startsWith(u"<!") || rest.startsWith(u"<?")) {
            skipPast(u">", pos_ + 2);
        } else if (rest.size() > 1 && (rest[1].isLetter() || rest[1] == u'/')) {
            readTag();
        } else {
            text_.append(u'<');  // a lone "<" in the text, as in "a < b"
            ++pos_;
        }
    }

    void readTag() {
        const bool closing = html_[pos_ + 1] == u'/';
        qsizetype i = pos_ + (closing ? 2 : 1);
        const qsizetype nameStart = i;
        while (i < html_.size() && (html_[i].isLetterOrNumber() || html_[i] == u'-')) ++i;
        const QString name = html_.mid(nameStart, i - nameStart).toString().toLower();
        pos_ = endOfTag(i);
        if (!isInlineElement(name)) appendBlank();
        if (!closing && isSkippedElement(name) && !(keepTitle_ && name == u"title")) {
            skipElementContent(name);
        }
    }

    // The position after the ">" that ends a tag, quoted attribute values
    // being allowed to hold ">".
    qsizetype endOfTag(qsizetype i) const {
        QChar quote;
        for (; i < html_.size(); ++i) {
            const QChar c = html_[i];
            if (!quote.isNull()) {
                if (c == quote) quote = QChar();
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u'>') {
                return i + 1;
            }
        }
        return html_.size();
    }

    void skipElementContent(const QString& name) {
        const QString closingTag = QStringLiteral("</") + name;
        const qsizetype end = html_.indexOf(closingTag, pos_, Qt::CaseInsensitive);
        pos_ = end < 0 ? html_.size() : endOfTag(end + closingTag.size());
        appendBlank();
    }

    void skipPast(QStringView marker, qsizetype from) {
        const qsizetype end = html_.indexOf(marker, from);
        pos_ = end < 0 ? html_.size() : end + marker.size();
    }

    QStringView html_;
    bool keepTitle_;
    qsizetype pos_ = 0;
    QString text_;
};

}  // namespace

QString HtmlText::plainText(QStringView html) { return HtmlReader(html, false).read(); }

QString HtmlText::titleText(QStringView titleLine) { return HtmlReader(titleLine, true).read(); }

}  // namespace lumera
