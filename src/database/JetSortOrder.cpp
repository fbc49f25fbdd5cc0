#include "database/JetSortOrder.h"

#include <algorithm>

namespace lumera::generalsort {

namespace {

// A folded character and the primary codes of every character that folds to
// it, as Jet writers store them in General sort order indexes (read from the
// entries of an index over every Latin-1 character, upper and lower case).
struct Codes {
    char16_t folded;
    const char* code;
    // The other spelling's codes, empty when the index ignores it (ẞ).
    const char* twin = nullptr;
};

// clang-format off
constexpr Codes kCodes[] = {
    {u' ', "\x07"},  // space
    {u'!', "\x09"},  // exclamation mark
    {u'"', "\x0a"},  // quotation mark
    {u'#', "\x0c"},  // number sign
    {u'$', "\x0e"},  // dollar sign
    {u'%', "\x10"},  // percent sign
    {u'&', "\x12"},  // ampersand
    {u'\'', ""},  // apostrophe
    {u'(', "\x14"},  // left parenthesis
    {u')', "\x16"},  // right parenthesis
    {u'*', "\x18"},  // asterisk
    {u'+', "\x2c"},  // plus sign
    {u',', "\x1a"},  // comma
    {u'-', ""},  // hyphen-minus
    {u'.', "\x1c"},  // full stop
    {u'/', "\x1e"},  // solidus
    {u'0', "\x36"},  // digit zero
    {u'1', "\x38"},  // digit one
    {u'2', "\x3a"},  // digit two
    {u'3', "\x3c"},  // digit three
    {u'4', "\x3e"},  // digit four
    {u'5', "\x40"},  // digit five
    {u'6', "\x42"},  // digit six
    {u'7', "\x44"},  // digit seven
    {u'8', "\x46"},  // digit eight
    {u'9', "\x48"},  // digit nine
    {u':', "\x20"},  // colon
    {u';', "\x22"},  // semicolon
    {u'<', "\x2e"},  // less-than sign
    {u'=', "\x30"},  // equals sign
    {u'>', "\x32"},  // greater-than sign
    {u'?', "\x24"},  // question mark
    {u'@', "\x26"},  // commercial at
    {u'[', "\x27"},  // left square bracket
    {u'\\', "\x29"},  // reverse solidus
    {u']', "\x2a"},  // right square bracket
    {u'^', "\x2b\x02"},  // circumflex accent
    {u'_', "\x2b\x03"},  // low line
    {u'`', "\x2b\x07"},  // grave accent
    {u'a', "\x4a"},  // latin small letter a
    {u'b', "\x4c"},  // latin small letter b
    {u'c', "\x4d"},  // latin small letter c
    {u'd', "\x4f"},  // latin small letter d
    {u'e', "\x51"},  // latin small letter e
    {u'f', "\x53"},  // latin small letter f
    {u'g', "\x55"},  // latin small letter g
    {u'h', "\x57"},  // latin small letter h
    {u'i', "\x59"},  // latin small letter i
    {u'j', "\x5b"},  // latin small letter j
    {u'k', "\x5c", "\x5d\x02"},  // latin small letter k
    {u'l', "\x5e"},  // latin small letter l
    {u'm', "\x60"},  // latin small letter m
    {u'n', "\x62"},  // latin small letter n
    {u'o', "\x64"},  // latin small letter o
    {u'p', "\x66"},  // latin small letter p
    {u'q', "\x68"},  // latin small letter q
    {u'r', "\x69"},  // latin small letter r
    {u's', "\x6b", "\x6c\x06"},  // latin small letter s
    {u't', "\x6d"},  // latin small letter t
    {u'u', "\x6f"},  // latin small letter u
    {u'v', "\x71"},  // latin small letter v
    {u'w', "\x73"},  // latin small letter w
    {u'x', "\x75"},  // latin small letter x
    {u'y', "\x76"},  // latin small letter y
    {u'z', "\x78"},  // latin small letter z
    {u'{', "\x2b\x09"},  // left curly bracket
    {u'|', "\x2b\x0b"},  // vertical line
    {u'}', "\x2b\x0d"},  // right curly bracket
    {u'~', "\x2b\x0f"},  // tilde
    {u'\u00a0', "\x08\x02"},  // no-break space
    {u'\u00a1', "\x2b\x10"},  // inverted exclamation mark
    {u'\u00a2', "\x34\xa6"},  // cent sign
    {u'\u00a3', "\x34\xa7"},  // pound sign
    {u'\u00a4', "\x34\xa8"},  // currency sign
    {u'\u00a5', "\x34\xa9"},  // yen sign
    {u'\u00a6', "\x2b\x11"},  // broken bar
    {u'\u00a7', "\x34\xaa"},  // section sign
    {u'\u00a8', "\x2b\x12"},  // diaeresis
    {u'\u00a9', "\x34\xab"},  // copyright sign
    {u'\u00aa', "\x4a"},  // feminine ordinal indicator
    {u'\u00ab', "\x33\x05"},  // left-pointing double angle quotation mark
    {u'\u00ac', "\x34\xac"},  // not sign
    {u'\u00ad', ""},  // soft hyphen
    {u'\u00ae', "\x34\xad"},  // registered sign
    {u'\u00af', "\x2b\x13"},  // macron
    {u'\u00b0', "\x34\xae"},  // degree sign
    {u'\u00b1', "\x33\x04"},  // plus-minus sign
    {u'\u00b2', "\x3a"},  // superscript two
    {u'\u00b3', "\x3c"},  // superscript three
    {u'\u00b4', "\x2b\x14"},  // acute accent
    {u'\u00b6', "\x34\xb0"},  // pilcrow sign
    {u'\u00b7', "\x34\xb1"},  // middle dot
    {u'\u00b8', "\x2b\x15"},  // cedilla
    {u'\u00b9', "\x38"},  // superscript one
    {u'\u00ba', "\x64"},  // masculine ordinal indicator
    {u'\u00bb', "\x33\x07"},  // right-pointing double angle quotation mark
    {u'\u00bc', "\x37\x12"},  // vulgar fraction one quarter
    {u'\u00bd', "\x37\x16"},  // vulgar fraction one half
    {u'\u00be', "\x37\x1a"},  // vulgar fraction three quarters
    {u'\u00bf', "\x2b\x16"},  // inverted question mark
    {u'\u00d7', "\x33\x09"},  // multiplication sign
    {u'\u00df', "\x6b\x6b", ""},  // latin small letter sharp s
    {u'\u00e0', "\x4a"},  // latin small letter a with grave
    {u'\u00e1', "\x4a"},  // latin small letter a with acute
    {u'\u00e2', "\x4a"},  // latin small letter a with circumflex
    {u'\u00e3', "\x4a"},  // latin small letter a with tilde
    {u'\u00e4', "\x4a"},  // latin small letter a with diaeresis
    {u'\u00e5', "\x4a"},  // latin small letter a with ring above
    {u'\u00e6', "\x4a\x51"},  // latin small letter ae
    {u'\u00e7', "\x4d"},  // latin small letter c with cedilla
    {u'\u00e8', "\x51"},  // latin small letter e with grave
    {u'\u00e9', "\x51"},  // latin small letter e with acute
    {u'\u00ea', "\x51"},  // latin small letter e with circumflex
    {u'\u00eb', "\x51"},  // latin small letter e with diaeresis
    {u'\u00ec', "\x59"},  // latin small letter i with grave
    {u'\u00ed', "\x59"},  // latin small letter i with acute
    {u'\u00ee', "\x59"},  // latin small letter i with circumflex
    {u'\u00ef', "\x59"},  // latin small letter i with diaeresis
    {u'\u00f0', "\x4f"},  // latin small letter eth
    {u'\u00f1', "\x62"},  // latin small letter n with tilde
    {u'\u00f2', "\x64"},  // latin small letter o with grave
    {u'\u00f3', "\x64"},  // latin small letter o with acute
    {u'\u00f4', "\x64"},  // latin small letter o with circumflex
    {u'\u00f5', "\x64"},  // latin small letter o with tilde
    {u'\u00f6', "\x64"},  // latin small letter o with diaeresis
    {u'\u00f7', "\x33\x0a"},  // division sign
    {u'\u00f8', "\x64"},  // latin small letter o with stroke
    {u'\u00f9', "\x6f"},  // latin small letter u with grave
    {u'\u00fa', "\x6f"},  // latin small letter u with acute
    {u'\u00fb', "\x6f"},  // latin small letter u with circumflex
    {u'\u00fc', "\x6f"},  // latin small letter u with diaeresis
    {u'\u00fd', "\x76"},  // latin small letter y with acute
    {u'\u00fe', "\x6d\x57"},  // latin small letter thorn
    {u'\u00ff', "\x76"},  // latin small letter y with diaeresis
};
// clang-format on

constexpr char kFlagAscending = 0x7F;
constexpr char kEndOfPrimaryCodes = 0x01;
// Spellings searched for one key: a title with a few s and k letters, each
// with the twin the folding gives it, stays below this.
constexpr std::size_t kMostPrefixes = 16;
// Longer keys are searched by their first bytes, in case an index keeps only
// the start of a long text.
constexpr qsizetype kLongestPrefix = 120;

const Codes* codesOf(QChar c) {
    const auto* end = std::end(kCodes);
    const auto* found =
        std::lower_bound(std::begin(kCodes), end, c.unicode(),
                         [](const Codes& row, char16_t key) { return row.folded < key; });
    return found != end && found->folded == c.unicode() ? found : nullptr;
}

}  // namespace

std::vector<QByteArray> entryPrefixes(const QString& foldedKey) {
    std::vector<QByteArray> prefixes = {QByteArray(1, kFlagAscending)};
    for (const QChar c : foldedKey) {
        const Codes* row = codesOf(c);
        const bool twin = row && row->twin;
        const auto longest = std::max_element(
            prefixes.begin(), prefixes.end(),
            [](const QByteArray& a, const QByteArray& b) { return a.size() < b.size(); });
        if (!row || prefixes.size() * (twin ? 2 : 1) > kMostPrefixes ||
            longest->size() + 2 > kLongestPrefix) {
            // Searched by the codes before it, if each spelling has some.
            for (const QByteArray& prefix : prefixes) {
                if (prefix.size() == 1) return {};
            }
            return prefixes;
        }
        std::vector<QByteArray> longer;
        for (const QByteArray& prefix : prefixes) {
            longer.push_back(prefix + row->code);
            if (twin) longer.push_back(prefix + row->twin);
        }
        prefixes = std::move(longer);
    }
    for (QByteArray& prefix : prefixes) prefix.append(kEndOfPrimaryCodes);
    return prefixes;
}

}  // namespace lumera::generalsort
