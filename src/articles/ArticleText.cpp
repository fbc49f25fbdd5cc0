#include "articles/ArticleText.h"

#include <QLatin1StringView>

#include "articles/TextFileLines.h"

namespace lumera {
namespace {

QString titleFromLine(QString line) {
    return line.remove(QLatin1StringView("<title>")).remove(QLatin1StringView("</title>"));
}

QString anchorFromLine(QString line) {
    line.remove(QLatin1StringView("<a name=\"")).remove(QLatin1StringView("\"></a></p>"));
    const qsizetype closingQuote = line.indexOf(QLatin1StringView("\">"));
    if (closingQuote >= 0) line.truncate(closingQuote);
    return line;
}

}  // namespace

QString rewriteImagePaths(const QString& storedText, const QString& cdRomPath) {
    QString text = storedText;
    if (!text.contains(QLatin1StringView(".gif"))) return text;
    return text.replace(
        QLatin1StringView("IMG SRC=\"Image"),
        QLatin1StringView("IMG SRC=\"") + cdRomPath + QLatin1StringView("/lex2000/tomo98a/Image"));
}

ArticleParts readArticleParts(const QString& articleText, const std::function<void()>& yield) {
    const auto yieldToEvents = [&yield] {
        if (yield) yield();
    };
    ArticleParts parts;
    bool bodyStarted = false;
    // The text goes to the scratch file with a final break; reading the lines
    // as that file holds them keeps a trailing lone carriage return a line.
    for (const QString& line : textfile::splitLines(articleText + QLatin1StringView("\r\n"))) {
        if (bodyStarted) {
            yieldToEvents();
            yieldToEvents();
            parts.body += line;
            continue;
        }
        if (line.contains(QLatin1StringView("title"))) parts.title = titleFromLine(line);
        yieldToEvents();
        if (line.contains(QLatin1StringView("name="))) parts.anchorName = anchorFromLine(line);
        yieldToEvents();
        // The line that opens the body is not part of it.
        if (line.contains(QLatin1StringView("<b>"))) bodyStarted = true;
    }
    parts.body.remove(QLatin1StringView("</BODY></HTML>"));
    parts.titleAsWritten = parts.title;
    parts.title.remove(u'\'');
    return parts;
}

QString pageTitle(const QString& storedText, const QString& cdRomPath) {
    return readArticleParts(rewriteImagePaths(storedText, cdRomPath)).title;
}

QString listedTitle(const QString& storedText, const QString& cdRomPath) {
    return readArticleParts(rewriteImagePaths(storedText, cdRomPath)).titleAsWritten;
}

qsizetype characterCount(const QString& text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
        ++count;
    }
    return count;
}

}  // namespace lumera
