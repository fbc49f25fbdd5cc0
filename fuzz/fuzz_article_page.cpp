// Page assembly from a random template, article text and media rows, through
// the page builder reading the rows through the engines' record set. The input has three parts
// separated by a line "--8<--": the template (bytes of the code page), the
// article text (UTF-8) and the media rows, one a line, their fields
// Classe, Caption, Tipo, Param, File, Right2, Format separated by tabs ("\N"
// for a NULL Tipo). Every row is filed under the article's own title, so the
// page's see-also table and thumbnails are made from them.
//
// The page written must hold exactly the composed page: every character the
// code page has as its byte, every other one as a character reference.

#include <iconv.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "FuzzCheck.h"
#include "articles/ArticlePageBuilder.h"
#include "articles/ArticleText.h"
#include "articles/PageComposer.h"
#include "articles/TextFileLines.h"
#include "database/ArticleDatabaseFiles.h"
#include "database/RowRecordset.h"
#include "headless/HeadlessBrowser.h"
#include "headless/HeadlessWindowSystem.h"
#include "host/Windows1252.h"
#include "media/DriveMap.h"
#include "support/FileBytes.h"

using namespace lumera;
using namespace lumera::testing;

namespace {

const QString kCd = QStringLiteral("D:");
const QString kKey = QStringLiteral("verbete.htm");

// The code page's byte for a code point, told by iconv rather than by the
// reader's own table; -1 when it has none. The five bytes the code page
// leaves undefined stand for the C1 controls of the same value.
int codePageByte(char32_t c) {
    switch (c) {
        case 0x81:
        case 0x8D:
        case 0x8F:
        case 0x90:
        case 0x9D:
            return static_cast<int>(c);
        default:
            break;
    }
    static const iconv_t toCodePage = iconv_open("WINDOWS-1252", "UTF-32LE");
    char32_t in = c;
    char out[4];
    char* inPtr = reinterpret_cast<char*>(&in);
    char* outPtr = out;
    std::size_t inLeft = sizeof in;
    std::size_t outLeft = sizeof out;
    iconv(toCodePage, nullptr, nullptr, nullptr, nullptr);
    if (iconv(toCodePage, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
        outPtr - out != 1) {
        return -1;
    }
    return static_cast<unsigned char>(out[0]);
}

// Walks the composed page and the written bytes side by side.
void checkEncoding(const QStringList& lines, const QByteArray& written) {
    qsizetype at = 0;
    const auto fail = [&](const QString& why) {
        fuzz::invariantBroken("page encoding", why + QStringLiteral(" at byte %1").arg(at));
    };
    for (const QString& line : lines) {
        const QString withEnd = line + QStringLiteral("\r\n");
        for (qsizetype i = 0; i < withEnd.size(); ++i) {
            char32_t c = withEnd[i].unicode();
            if (withEnd[i].isHighSurrogate() && i + 1 < withEnd.size() &&
                withEnd[i + 1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(withEnd[i], withEnd[i + 1]);
                ++i;
            }
            const int byte = codePageByte(c);
            if (byte >= 0) {
                if (at >= written.size() || static_cast<unsigned char>(written[at]) != byte) {
                    fail(QStringLiteral("U+%1 not written as its byte")
                             .arg(static_cast<uint>(c), 4, 16, QChar(u'0')));
                }
                ++at;
                continue;
            }
            const QByteArray reference = "&#" + QByteArray::number(c) + ';';
            if (written.mid(at, reference.size()) != reference) {
                fail(QStringLiteral("U+%1 not written as %2")
                         .arg(static_cast<uint>(c), 4, 16, QChar(u'0'))
                         .arg(QString::fromLatin1(reference)));
            }
            at += reference.size();
        }
    }
    if (at != written.size()) fail(QStringLiteral("bytes after the page"));
}

QList<QByteArray> splitParts(const QByteArray& input) {
    static const QByteArray separator = "\n--8<--\n";
    QList<QByteArray> parts;
    qsizetype from = 0;
    for (qsizetype cut; (cut = input.indexOf(separator, from)) >= 0;
         from = cut + separator.size()) {
        parts.append(input.mid(from, cut - from));
    }
    parts.append(input.mid(from));
    return parts;
}

StoredRow mediaRow(const QString& line, const QString& title) {
    QStringList fields = line.split(u'\t');
    while (fields.size() < 7) fields.append(QString());
    const StoredText tipo = fields[2] == u"\\N" ? std::nullopt : StoredText(fields[2]);
    return {fields[0], title, fields[1], tipo, fields[3], fields[4], fields[5], fields[6]};
}

// The rows of one input, queried as the engines answer: their record set and
// their DISTINCT. Every media row is filed under the article's title.
class InputDatabase : public ArticleDatabase, public ArticleDatabaseOpener {
  public:
    StoredRow article;
    std::vector<StoredRow> media;
    std::unique_ptr<Recordset> articleQuery(const QString&) override {
        return std::make_unique<RowRecordset>(
            TableRows{{"Arquivo", "Titulo", "Verbete"}, {article}}, QString(), QString());
    }
    std::unique_ptr<Recordset> mediaQuery(const QString&) override {
        return std::make_unique<RowRecordset>(
            TableRows{articletables::kMediaColumns, distinctRows(media)}, QString(), QString());
    }
    void close() override {}
    std::unique_ptr<ArticleDatabase> open(const QString&) override {
        return std::make_unique<InputDatabase>(*this);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    static QTemporaryDir install;
    // The builder looks for lex.mdb before it opens it through the opener.
    static const bool prepared = testing::writeBytes(install.filePath(u"lex.mdb"_qs), {});
    fuzz::check(prepared, "cannot prepare the installation folder", install.path());

    const QList<QByteArray> parts = splitParts(fuzz::bytesOf(data, size));
    const QByteArray templateBytes = parts.value(0);
    const QString articleText = QString::fromUtf8(parts.value(1));
    const QString mediaText = QString::fromUtf8(parts.value(2));

    fuzz::check(testing::writeBytes(install.filePath(u"modelo-final.htm"_qs), templateBytes),
                "cannot write the template");

    InputDatabase database;
    database.article = {kKey, kKey, articleText};
    const QString title = pageTitle(articleText, kCd);
    for (const QString& line : mediaText.split(u'\n', Qt::SkipEmptyParts))
        database.media.push_back(mediaRow(line, title));

    DriveMap files;
    files.allowDirectory(install.path());
    HeadlessBrowser browser;
    HeadlessWindowSystem windows;
    const ContentPaths paths{install.path() + u'/', kCd};
    ArticlePageBuilder builder(database, files, browser, windows, paths,
                               std::chrono::milliseconds(0));
    const ArticlePageResult result = builder.BuildArticlePage(kKey);
    fuzz::check(result.status == ArticlePageResult::Status::Built, "page not built",
                result.message);

    // The page as composed in memory, from the same parts the builder reads.
    const ArticleParts article = readArticleParts(rewriteImagePaths(articleText, kCd));
    const auto media = database.mediaQuery(article.title);
    const QStringList page =
        PageComposer(kCd, [] {
        }).compose(textfile::splitLines(windows1252::decode(templateBytes)), article, *media);

    checkEncoding(page, testing::readBytes(install.filePath(u"vf.htm"_qs)));
    return 0;
}
