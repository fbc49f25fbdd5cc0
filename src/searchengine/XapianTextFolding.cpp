#include "searchengine/XapianTextFolding.h"

#include <array>

namespace lumera {
namespace {

bool isApostrophe(QChar c) {
    switch (c.unicode()) {
        case u'\'':
        case u'`':
        case 0x00B4:  // acute accent typed on its own
        case 0x2018:
        case 0x2019:
        case 0x02BC:
            return true;
        default:
            return false;
    }
}

// The folding of each character below U+0100, made once by foldFully().
// Those characters are nearly all that Portuguese text holds: folding them
// one by one instead of normalizing every text took folding from a fifth of
// the indexer's instructions to almost nothing.
class Latin1Folding {
  public:
    // Folds at most this many characters from one.
    static constexpr qsizetype kMaxLength = 3;

    Latin1Folding() {
        for (char16_t c = 0; c < 0x100; ++c) {
            const QString folded = foldFully(QStringView(&c, 1));
            if (folded.size() > kMaxLength) qFatal("U+%04X folds to more characters", c);
            lengths_[c] = static_cast<unsigned char>(folded.size());
            for (qsizetype i = 0; i < folded.size(); ++i) characters_[c][i] = folded[i].unicode();
        }
    }
    // Appends the folding of run, all of it below U+0100.
    void append(QStringView run, QString& folded) const {
        const qsizetype start = folded.size();
        folded.resize(start + kMaxLength * run.size());
        char16_t* out = reinterpret_cast<char16_t*>(folded.data()) + start;
        for (const QChar character : run) {
            const char16_t c = character.unicode();
            for (unsigned char i = 0; i < lengths_[c]; ++i) *out++ = characters_[c][i];
        }
        folded.resize(out - reinterpret_cast<const char16_t*>(folded.constData()));
    }

  private:
    std::array<std::array<char16_t, kMaxLength>, 0x100> characters_{};
    std::array<unsigned char, 0x100> lengths_{};
};

}  // namespace

QString foldFully(QStringView text) {
    // NFKD splits letters from their accents and spells compatibility
    // characters out; dropping the non-spacing marks then leaves the base letters.
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_KD);
    QString bare;
    bare.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing) bare.append(c);
    }
    return bare.toCaseFolded();
}

// A character below U+0100 decomposes to a base character and non-spacing
// marks only, and no mark reorders across it: folding the text in runs,
// those characters from a table and the others by foldFully(), folds it as
// foldFully() does.
QString foldForSearch(QStringView text) {
    static const Latin1Folding latin1;
    QString folded;
    folded.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const bool table = text[i].unicode() < 0x100;
        qsizetype end = i + 1;
        while (end < text.size() && (text[end].unicode() < 0x100) == table) ++end;
        if (table) {
            latin1.append(text.mid(i, end - i), folded);
        } else {
            folded += foldFully(text.mid(i, end - i));
        }
        i = end;
    }
    return folded;
}

QString searchableText(QStringView text) {
    QString folded = foldForSearch(text);
    for (QChar& c : folded) {
        const char16_t u = c.unicode();
        if (u < 0x80 ? (u < 0x20 || u == 0x7F || u == u'\'' || u == u'`')
                     : (isApostrophe(c) || c.category() == QChar::Other_Control)) {
            c = u' ';
        }
    }
    return folded;
}

bool isWordCharacter(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80) return (u >= u'0' && u <= u'9') || ((u | 0x20) >= u'a' && (u | 0x20) <= u'z');
    return c.isLetterOrNumber() || c.isMark();
}

std::string toUtf8(QStringView text) { return text.toUtf8().toStdString(); }

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace lumera
