// Reading a stored article: its lines, title, anchor and body, the image
// paths the page rewrites, and the code page its files are written in.
#include <QTest>

#include "articles/ArticleText.h"
#include "articles/TextFileLines.h"

using namespace lumera;
using namespace Qt::StringLiterals;

class ArticleTextTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void splitsLinesAtCarriageReturns();
    void encodesLinesInTheCodePageWithReferences();
    void rewritesUpperCaseImagePathsOnlyBesideGifs();
    void readsTitleAnchorAndBody();
    void pageTitleIsWhatThePageShows();
};

void ArticleTextTest::splitsLinesAtCarriageReturns() {
    const struct {
        QString text;
        QStringList lines;
    } rows[] = {
        {"a\r\nb\r\n", {"a", "b"}},     {"a\r\nb", {"a", "b"}},
        {"a\rb", {"a", "b"}},           {"a\nb\r\n", {"a\nb"}},  // a lone LF stays
        {"a\r\n\nb\r\n", {"a", "\nb"}}, {"\r\n\r\nx\r\n", {"", "", "x"}},
        {"a\r\r\nb", {"a", "", "b"}},   {"", {}},
    };
    for (const auto& row : rows) QCOMPARE(textfile::splitLines(row.text), row.lines);
}

void ArticleTextTest::encodesLinesInTheCodePageWithReferences() {
    const QStringList lines = {u"Ação – €"_s, u"Ω e 😀"_s, QString()};
    QCOMPARE(textfile::encodeLines(lines),
             QByteArray("A\xE7\xE3o \x96 \x80\r\n&#937; e &#128512;\r\n\r\n"));
}

void ArticleTextTest::rewritesUpperCaseImagePathsOnlyBesideGifs() {
    const struct {
        QString stored;
        QString rewritten;
    } rows[] = {
        {"<IMG SRC=\"Image1.gif\"><IMG SRC=\"Image2.jpg\">",
         "<IMG SRC=\"E:/lex2000/tomo98a/Image1.gif\"><IMG SRC=\"E:/lex2000/tomo98a/Image2.jpg\">"},
        {"<IMG SRC=\"Image1.jpg\">", "<IMG SRC=\"Image1.jpg\">"},
        {"<IMG SRC=\"Image1.GIF\">", "<IMG SRC=\"Image1.GIF\">"},  // GIF is not gif
        {"<img src=\"Image1.gif\">", "<img src=\"Image1.gif\">"},
        {"<IMG SRC='Image1.gif'>", "<IMG SRC='Image1.gif'>"},
        {"<IMG SRC=\"image1.gif\">", "<IMG SRC=\"image1.gif\">"},
    };
    for (const auto& row : rows) QCOMPARE(rewriteImagePaths(row.stored, u"E:"_s), row.rewritten);
}

void ArticleTextTest::readsTitleAnchorAndBody() {
    const struct {
        QString text;  // lines end in CR LF
        QString title;
        QString anchor;
        QString body;
    } rows[] = {
        {"<html>\r\n<title>Brasil</title>\r\n<a "
         "name=\"Brasil\"></a></p>\r\n<p><b>Brasil</b></p>\r\nO maior país\r\nda América do "
         "Sul.\r\n</BODY></HTML>",
         "Brasil", "Brasil", "O maior paísda América do Sul."},
        {"<head><title>Brasil</title></head>", "<head>Brasil</head>", "", ""},
        {"<title>Um</title>\r\nsubtitle: Dois", "subtitle: Dois", "",
         ""},  // the last title line wins
        {"<title>Copo d'água</title>", "Copo dágua", "", ""},
        {"<html>\r\ntexto", "", "", ""},
        {"<a name=\"Brasil\">texto</a>", "", "Brasil", ""},
        {"name=\">x", "", "name=", ""},
        {"<a name=\"\">Brasil", "", "", ""},
        {"<b>abre</b>\r\num\r\n<b>dois</b>\r\ntres", "", "", "um<b>dois</b>tres"},
        {"<b>\r\nfim</body></html>\r\nx</BODY></HTML>y", "", "", "fim</body></html>xy"},
        {"<p><a name=\"Brasil\"></a></p>", "", "<p>Brasil", ""},
        {"<title>T</title><b>\r\nx", "T<b>", "", "x"},
        {"<a name=\"N\"></a></p><b>\r\nx", "", "N<b>", "x"},
        {"<title>Brasil</title>\r\n<a name=\"Brasil\"></a></p>\r\n<b>Brasil</b>\r\num\r\n<a "
         "name=\"Rio\"></a></p>\r\no title do rio",
         "Brasil", "Brasil", "um<a name=\"Rio\"></a></p>o title do rio"},
        {"<b>\r\na\nb\r\nc", "", "", "a\nbc"},
    };
    for (const auto& row : rows) {
        const ArticleParts parts = readArticleParts(row.text);
        QCOMPARE(parts.title, row.title);
        QCOMPARE(parts.anchorName, row.anchor);
        QCOMPARE(parts.body, row.body);
    }
}

void ArticleTextTest::pageTitleIsWhatThePageShows() {
    QCOMPARE(
        pageTitle(
            u"<html><head>\r\n<title>Copo d'água</title>\r\n<p><b>Copo</b></p>\r\n<title>x</title>\r\n"_s),
        u"Copo dágua"_s);
    QCOMPARE(listedTitle(u"<title>Copo d'água</title>\r\n<p><b>Copo</b></p>"_s), u"Copo d'água"_s);
    QCOMPARE(pageTitle(u"<title><IMG SRC=\"Image1.gif\"></title>"_s, u"D:"_s),
             u"<IMG SRC=\"D:/lex2000/tomo98a/Image1.gif\">"_s);
    QCOMPARE(characterCount(u"a😀Ω"_s), 3);
}

QTEST_APPLESS_MAIN(ArticleTextTest)
#include "test_article_text.moc"
