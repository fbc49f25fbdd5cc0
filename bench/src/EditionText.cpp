#include "EditionText.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumera::bench {

std::uint64_t Random::next() {
    // splitmix64: small, fast and fully specified.
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Random::uniform() { return double(next() >> 11) * 0x1.0p-53; }

int Random::between(int low, int high) { return low + int(uniform() * double(high - low + 1)); }

double Random::logNormal(double median, double sigma) {
    // Box-Muller; 1 - u keeps the logarithm finite.
    const double u1 = 1.0 - uniform();
    const double u2 = uniform();
    const double normal = std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
    return median * std::exp(sigma * normal);
}

ZipfVocabulary::ZipfVocabulary(const QStringList& functionWords, QStringList contentWords,
                               Random& random) {
    for (qsizetype i = contentWords.size() - 1; i > 0; --i) {
        contentWords.swapItemsAt(i, qsizetype(random.next() % std::uint64_t(i + 1)));
    }
    words_.assign(functionWords.begin(), functionWords.end());
    words_.insert(words_.end(), contentWords.begin(), contentWords.end());
    // s and q as fitted to running text in Romance languages.
    constexpr double kExponent = 1.0;
    constexpr double kShift = 2.7;
    cumulative_.reserve(words_.size());
    double total = 0;
    for (std::size_t rank = 0; rank < words_.size(); ++rank) {
        total += 1.0 / std::pow(double(rank + 1) + kShift, kExponent);
        cumulative_.push_back(total);
    }
    for (double& c : cumulative_) c /= total;
}

const QString& ZipfVocabulary::draw(Random& random) const {
    const auto found = std::upper_bound(cumulative_.begin(), cumulative_.end(), random.uniform());
    const auto rank =
        std::min<std::size_t>(std::size_t(found - cumulative_.begin()), words_.size() - 1);
    return words_[rank];
}

QString ArticleWriter::sentence() {
    // Sentence lengths of encyclopaedic prose: mostly 8 to 30 words.
    const int length = std::clamp(int(random_.logNormal(16, 0.45)), 4, 60);
    QString text;
    for (int i = 0; i < length; ++i) {
        QString word = words_.draw(random_);
        if (i == 0) {
            word[0] = word[0].toUpper();
        } else {
            text += u' ';
        }
        if (i > 0 && random_.uniform() < 0.015) {
            text += QStringLiteral("<i>") + word + QStringLiteral("</i>");
        } else {
            text += word;
        }
        if (i > 1 && i + 2 < length && random_.uniform() < 0.07) text += u',';
    }
    return text + u'.';
}

QString ArticleWriter::paragraph(int sentences) {
    QString text = QStringLiteral("<p>");
    for (int i = 0; i < sentences; ++i) {
        if (i > 0) text += u' ';
        text += sentence();
    }
    return text + QStringLiteral("</p>\r\n");
}

QString ArticleWriter::article(const QString& title, const QString& anchor, qsizetype targetBytes,
                               const QString& extraParagraph) {
    QString text = QStringLiteral(
                       "<html><head>\r\n<title>%1</title>\r\n</head><body>\r\n"
                       "<a name=\"%2\"></a></p>\r\n<p><b>%1</b></p>\r\n")
                       .arg(title, anchor);
    const QString ending = QStringLiteral("</BODY></HTML>\r\n");
    // Byte counts are of UTF-8 text; accented letters are a small share, so
    // the length in characters is close enough while writing.
    const qsizetype bodyTarget = targetBytes - text.size() - ending.size() - extraParagraph.size();
    qsizetype written = 0;
    do {
        const QString next = paragraph(std::clamp(int(random_.logNormal(4, 0.5)), 1, 12));
        text += next;
        written += next.size();
    } while (written < bodyTarget);
    if (!extraParagraph.isEmpty()) text += extraParagraph;
    return text + ending;
}

QString keyStem(const QString& title) {
    const QString plain = title.normalized(QString::NormalizationForm_D);
    QString stem;
    for (const QChar c : plain) {
        if (c.unicode() < 128 && c.isLetterOrNumber()) {
            stem += c.toLower();
        } else if ((c.isSpace() || c == u'-') && !stem.isEmpty() && !stem.endsWith(u'-')) {
            stem += u'-';
        }
    }
    while (stem.endsWith(u'-')) stem.chop(1);
    return stem;
}

}  // namespace lumera::bench
