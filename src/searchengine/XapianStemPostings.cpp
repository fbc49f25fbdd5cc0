#include "searchengine/XapianStemPostings.h"

#include <cstdlib>
#include <limits>

#include "searchengine/XapianTextFolding.h"

namespace lumera {
namespace {

// Xapian's rules, as its term generator applies them.
constexpr char32_t kIgnored = std::numeric_limits<char32_t>::max();

char32_t wordCharacter(char32_t c) {
    if (c < 0x80) {  // the same answers, without the look-up
        if ((c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9') || c == U'_') return c;
        return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : 0;
    }
    return Xapian::Unicode::is_wordchar(c) ? char32_t(Xapian::Unicode::tolower(c)) : 0;
}

bool isDigit(char32_t c) {
    if (c < 0x80) return c >= U'0' && c <= U'9';
    return Xapian::Unicode::get_category(c) == Xapian::Unicode::DECIMAL_DIGIT_NUMBER;
}

bool isAsciiCapital(char32_t c) { return c >= U'A' && c <= U'Z'; }

bool isZeroWidth(char32_t c) { return c >= 0x200B && (c <= 0x200D || c == 0x2060 || c == 0xFEFF); }

// Between two letters: AT&T, d'água.
char32_t infix(char32_t c) {
    if (c == U'\'' || c == U'&' || c == 0xB7 || c == 0x5F4 || c == 0x2027) return c;
    if (c == 0x2019 || c == 0x201B) return U'\'';
    return isZeroWidth(c) ? kIgnored : 0;
}

// Between two digits: 1.500, 3,5.
char32_t infixDigit(char32_t c) {
    switch (c) {
        case U',':
        case U'.':
        case U';':
        case 0x037E:
        case 0x0589:
        case 0x060D:
        case 0x07F8:
        case 0x2044:
        case 0xFE10:
        case 0xFE13:
        case 0xFE14:
            return c;
        default:
            return isZeroWidth(c) ? kIgnored : 0;
    }
}

bool isSuffix(char32_t c) { return c == U'+' || c == U'#'; }

bool cjkByEnvironment() {
    const char* ngram = std::getenv("XAPIAN_CJK_NGRAM");
    return ngram && *ngram;
}

// The words' stems for the term generator.
class WrittenWordStems : public Xapian::StemImplementation {
  public:
    explicit WrittenWordStems(WrittenWords& words) : words_(words) {}
    std::string operator()(const std::string& word) override { return words_.add(word); }
    std::string get_description() const override { return "lumera-written-words"; }

  private:
    WrittenWords& words_;
};

}  // namespace

// The code points of a text, from index i; past the end, 0.
class StemPostings::Reader {
  public:
    explicit Reader(QStringView text) : text_(text) {}
    bool atEnd(qsizetype i) const { return i >= text_.size(); }
    char32_t at(qsizetype i) const {
        if (i >= text_.size()) return 0;
        const QChar c = text_[i];
        if (c.isHighSurrogate() && i + 1 < text_.size() && text_[i + 1].isLowSurrogate()) {
            return QChar::surrogateToUcs4(c, text_[i + 1]);
        }
        // As the text's UTF-8 has it, which the term generator read.
        return c.isSurrogate() ? char32_t(0xFFFD) : char32_t(c.unicode());
    }
    qsizetype next(qsizetype i) const {
        const bool pair =
            text_[i].isHighSurrogate() && i + 1 < text_.size() && text_[i + 1].isLowSurrogate();
        return i + (pair ? 2 : 1);
    }

  private:
    QStringView text_;
};

StemPostings::StemPostings(WrittenWords& words) : words_(words), xapianSplits_(cjkByEnvironment()) {
    generator_.set_stemmer(Xapian::Stem(new WrittenWordStems(words)));
    generator_.set_stemming_strategy(Xapian::TermGenerator::STEM_ALL_Z);
}

void StemPostings::setDocument(Xapian::Document& document) {
    document_ = &document;
    position_ = 0;
}

void StemPostings::index(QStringView text, Xapian::termcount weight) {
    if (xapianSplits_) {
        generator_.set_document(*document_);
        generator_.set_termpos(position_);
        generator_.index_text(toUtf8(text), weight);
        position_ = generator_.get_termpos();
        generator_.set_document(Xapian::Document());
        return;
    }
    const Reader reader(text);
    qsizetype i = 0;
    while (true) {
        char32_t c = 0;
        for (; !reader.atEnd(i); i = reader.next(i)) {
            if ((c = wordCharacter(reader.at(i)))) break;
        }
        if (reader.atEnd(i)) return;
        term_.clear();
        // Capitals joined by dots are one word (P.T.O.); not in folded text.
        if (isAsciiCapital(reader.at(i))) {
            qsizetype p = i;
            do {
                Xapian::Unicode::append_utf8(term_, Xapian::Unicode::tolower(reader.at(p)));
                p = reader.next(p);
            } while (!reader.atEnd(p) && reader.at(p) == U'.' &&
                     !reader.atEnd(p = reader.next(p)) && isAsciiCapital(reader.at(p)));
            if (term_.size() > 1 &&
                (reader.atEnd(p) || !Xapian::Unicode::is_wordchar(reader.at(p)))) {
                i = p;
                post(term_, weight);
                continue;
            }
            term_.clear();
        }
        bool ended = false;
        while (true) {
            char32_t previous = 0;
            do {
                Xapian::Unicode::append_utf8(term_, c);
                previous = c;
                i = reader.next(i);
                if (reader.atEnd(i)) {
                    ended = true;
                    break;
                }
                c = wordCharacter(reader.at(i));
            } while (c);
            if (ended) break;
            const qsizetype next = reader.next(i);
            if (reader.atEnd(next)) break;
            const char32_t nextCharacter = wordCharacter(reader.at(next));
            if (!nextCharacter) break;
            const char32_t joining = isDigit(previous) && isDigit(reader.at(next))
                                         ? infixDigit(reader.at(i))
                                         : infix(reader.at(i));
            if (!joining) break;
            if (joining != kIgnored) Xapian::Unicode::append_utf8(term_, joining);
            c = nextCharacter;
            i = next;
        }
        if (!ended) {
            // C++, C#: up to three + or #, unless a word character follows.
            const std::size_t length = term_.size();
            unsigned count = 0;
            while (isSuffix(reader.at(i))) {
                if (++count > 3) {
                    term_.resize(length);
                    break;
                }
                Xapian::Unicode::append_utf8(term_, reader.at(i));
                i = reader.next(i);
                if (reader.atEnd(i)) {
                    ended = true;
                    break;
                }
            }
            if (!ended && Xapian::Unicode::is_wordchar(reader.at(i))) term_.resize(length);
        }
        post(term_, weight);
    }
}

void StemPostings::post(const std::string& word, Xapian::termcount weight) {
    if (word.size() > kMaxWordLength) return;
    const std::string& stem = words_.add(word);
    if (stem.empty()) return;
    stemTerm_.assign(1, 'Z');
    stemTerm_ += stem;
    document_->add_posting(stemTerm_, ++position_, weight);
}

}  // namespace lumera
