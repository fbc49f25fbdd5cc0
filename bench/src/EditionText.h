#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace lumera::bench {

// A seeded random source whose every draw is defined here, so an edition is
// the same for a given seed whatever the standard library's distributions do.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed ^ 0x9E3779B97F4A7C15ull) {}
    std::uint64_t next();
    // Uniform in [0, 1).
    double uniform();
    // Uniform in [low, high].
    int between(int low, int high);
    // Log-normal with the given median and shape.
    double logNormal(double median, double sigma);

  private:
    std::uint64_t state_;
};

// Words ranked by frequency: Portuguese function words first, then a seeded
// shuffle of a word list, drawn with a Zipf-Mandelbrot law (1 / (rank + q)^s).
class ZipfVocabulary {
  public:
    ZipfVocabulary(const QStringList& functionWords, QStringList contentWords, Random& random);
    const QString& draw(Random& random) const;
    const QString& atRank(int rank) const { return words_[std::size_t(rank)]; }
    int size() const { return int(words_.size()); }

  private:
    std::vector<QString> words_;
    std::vector<double> cumulative_;
};

// Article bodies in the shape the page assembly reads.
class ArticleWriter {
  public:
    ArticleWriter(const ZipfVocabulary& words, Random& random) : words_(words), random_(random) {}
    // A sentence of realistic length, capitalised, ending in a full stop.
    QString sentence();
    // The whole article text, about targetBytes of UTF-8, lines ending in CR LF;
    // extraParagraph is added as the last paragraph when not empty.
    QString article(const QString& title, const QString& anchor, qsizetype targetBytes,
                    const QString& extraParagraph);

  private:
    QString paragraph(int sentences);
    const ZipfVocabulary& words_;
    Random& random_;
};

// "São Tomé (2)" -> "sao-tome-2": the ASCII page name stem of a title.
QString keyStem(const QString& title);

}  // namespace lumera::bench
