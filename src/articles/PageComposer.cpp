#include "articles/PageComposer.h"

#include <QLatin1StringView>
#include <memory>
#include <utility>

namespace lumera {
namespace {

using namespace Qt::StringLiterals;

// Only a body this long gets a link back to the top after it.
constexpr qsizetype kLongBody = 1500;

// The state that one template pass carries from line to line.
struct Pass {
    QString body;
    qsizetype textLength = 0;
    bool seeAlsoWritten = false;
};

void replaceIfPresent(QString& line, QLatin1StringView placeholder, const QString& value) {
    if (line.contains(placeholder)) line.replace(placeholder, value);
}

}  // namespace

const QString PageComposer::kTopLink =
    u"<p align='center'><font face='Verdana, Arial, Helvetica, sans-serif' size='2'><a "
    "href='#topo'>Topo</a></font></p>"_s;
const QString PageComposer::kHeaderPrefix = u"Lumera Orvel On-Line -"_s;

PageComposer::PageComposer(const QString& cdRomPath, std::function<void()> yield)
    : cdRomPath_(cdRomPath), yield_(std::move(yield)), mediaBlocks_(cdRomPath) {}

QStringList PageComposer::compose(const QStringList& templateLines, const ArticleParts& article,
                                  Recordset& media) const {
    const QString seeAlsoMarker = u"VejaTambém"_s;
    const QLatin1StringView thumbnailsMarker = "FotosI"_L1;
    QStringList page;
    Pass pass;
    pass.body = article.body;
    for (QString line : templateLines) {
        replaceIfPresent(line, "d:"_L1, cdRomPath_);
        replaceIfPresent(line, "Header"_L1, kHeaderPrefix + article.title);
        replaceIfPresent(line, "Titulov"_L1, article.title);
        yield_();
        replaceIfPresent(line, "Nome"_L1, article.anchorName);
        yield_();
        if (line.contains("Texto"_L1)) {
            line.replace("Texto"_L1, pass.body);
            pass.textLength = characterCount(pass.body);
            // The body goes into the first "Texto" line only.
            pass.body.clear();
        }
        yield_();
        const bool seeAlso = line.contains(seeAlsoMarker);
        const bool thumbnails = line.contains(thumbnailsMarker);
        if (!seeAlso && !thumbnails) {
            page.append(line);
            const bool longBody = pass.textLength > kLongBody;
            if (line.contains("Topo1"_L1) && longBody) page.append(kTopLink);
            if (line.contains("Topo2"_L1) && longBody && pass.seeAlsoWritten) {
                pass.seeAlsoWritten = false;
                page.append(kTopLink);
            }
        }
        if (seeAlso) {
            mediaBlocks_.writeSeeAlsoTable(media, article.title, page);
            pass.seeAlsoWritten = true;
        }
        if (thumbnails) mediaBlocks_.writeThumbnails(media, page);
    }
    return page;
}

QStringList composeArticlePage(ArticleDatabase& database, const QString& articleText,
                               const QStringList& templateLines, const QString& cdRomPath,
                               const std::function<void()>& yield) {
    const ArticleParts parts = readArticleParts(articleText, yield);
    yield();
    const std::unique_ptr<Recordset> media = database.mediaQuery(parts.title);
    const QStringList page = PageComposer(cdRomPath, yield).compose(templateLines, parts, *media);
    media->close();
    return page;
}

}  // namespace lumera
