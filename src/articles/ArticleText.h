#pragma once

#include <QString>
#include <functional>

namespace lumera {

// What an article page takes from the article text.
struct ArticleParts {
    // From the last title line before the body, apostrophes removed.
    QString title;
    // The same as written, apostrophes kept ("Copo d'água"): how a list of
    // titles shows it, where no query needs them gone.
    QString titleAsWritten;
    // From the last anchor line before the body.
    QString anchorName;
    // The lines after the first one holding "<b>", joined with nothing, less
    // every "</BODY></HTML>".
    QString body;
};

// Points an article's upper-case image references ("IMG SRC=" with a double
// quote, then "Image") at the article folder on the CD-ROM. The stored text
// uses them only together with .gif pictures, so a text without ".gif" is kept.
QString rewriteImagePaths(const QString& storedText, const QString& cdRomPath);

// Reads the title, anchor name and body out of an article text (after the
// image rewrite). Once the body has started, lines are body text only.
// yield runs twice for every line so that a long article keeps the window
// responsive.
ArticleParts readArticleParts(const QString& articleText,
                              const std::function<void()>& yield = nullptr);

// The title that an article's page shows for its stored text; the same text
// the media rows are looked up with. cdRomPath matters only for a title line
// that holds an upper-case image reference.
QString pageTitle(const QString& storedText, const QString& cdRomPath = QString());

// The title that lists of titles (the search results) show for a stored
// text: the page's, with its apostrophes.
QString listedTitle(const QString& storedText, const QString& cdRomPath = QString());

// Number of characters of a text (Unicode code points, not UTF-16 units).
qsizetype characterCount(const QString& text);

}  // namespace lumera
