#include <QTest>

#include "articles/ArticleText.h"
#include "articles/TextFileLines.h"

using namespace lumera;
using namespace Qt::StringLiterals;

class ArticleTextTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void splitsLinesAtCarriageReturns_data();
    void splitsLinesAtCarriageReturns();
    void encodesLinesInTheCodePageWithReferences();
    void rewritesUpperCaseImagePathsOnlyBesideGifs_data();
    void rewritesUpperCaseImagePathsOnlyBesideGifs();
    void readsTitleAnchorAndBody_data();
    void readsTitleAnchorAndBody();
    void pageTitleIsWhatThePageShows();
    void countsCharactersNotUtf16Units();
};

void ArticleTextTest::splitsLinesAtCarriageReturns_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << "a\r\nb\r\n" << QStringList{"a", "b"};
    QTest::newRow("last line without break") << "a\r\nb" << QStringList{"a", "b"};
    QTest::newRow("lone cr") << "a\rb" << QStringList{"a", "b"};
    QTest::newRow("lone lf stays in line") << "a\nb\r\n" << QStringList{"a\nb"};
    QTest::newRow("lf after crlf stays") << "a\r\n\nb\r\n" << QStringList{"a", "\nb"};
    QTest::newRow("empty lines") << "\r\n\r\nx\r\n" << QStringList{"", "", "x"};
    QTest::newRow("cr then crlf") << "a\r\r\nb" << QStringList{"a", "", "b"};
    QTest::newRow("empty text") << "" << QStringList{};
}

void ArticleTextTest::splitsLinesAtCarriageReturns() {
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(textfile::splitLines(text), lines);
}

void ArticleTextTest::encodesLinesInTheCodePageWithReferences() {
    const QStringList lines = {u"Ação – €"_s, u"Ω e 😀"_s, QString()};
    QCOMPARE(textfile::encodeLines(lines),
             QByteArray("A\xE7\xE3o \x96 \x80\r\n&#937; e &#128512;\r\n\r\n"));
}

void ArticleTextTest::rewritesUpperCaseImagePathsOnlyBesideGifs_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("rewritten");
    QTest::newRow("gif present")
        << "<IMG SRC=\"Image1.gif\"><IMG SRC=\"Image2.jpg\">"
        << "<IMG SRC=\"E:/lex2000/tomo98a/Image1.gif\"><IMG SRC=\"E:/lex2000/tomo98a/Image2.jpg\">";
    QTest::newRow("no gif anywhere") << "<IMG SRC=\"Image1.jpg\">"
                                     << "<IMG SRC=\"Image1.jpg\">";
    QTest::newRow("upper-case GIF is not gif") << "<IMG SRC=\"Image1.GIF\">"
                                               << "<IMG SRC=\"Image1.GIF\">";
    QTest::newRow("lower-case tag kept") << "<img src=\"Image1.gif\">"
                                         << "<img src=\"Image1.gif\">";
    QTest::newRow("single quote kept") << "<IMG SRC='Image1.gif'>"
                                       << "<IMG SRC='Image1.gif'>";
    QTest::newRow("lower-case image kept") << "<IMG SRC=\"image1.gif\">"
                                           << "<IMG SRC=\"image1.gif\">";
}

void ArticleTextTest::rewritesUpperCaseImagePathsOnlyBesideGifs() {
    QFETCH(QString, stored);
    QFETCH(QString, rewritten);
    QCOMPARE(rewriteImagePaths(stored, "E:"), rewritten);
}

void ArticleTextTest::readsTitleAnchorAndBody_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<QString>("body");

    QTest::newRow("plain article") << QStringList{"<html>",
                                                  "<title>Brasil</title>",
                                                  "<a name=\"Brasil\"></a></p>",
                                                  "<p><b>Brasil</b></p>",
                                                  "O maior país",
                                                  "da América do Sul.",
                                                  "</BODY></HTML>"}
                                   << "Brasil"
                                   << "Brasil"
                                   << "O maior paísda América do Sul.";
    QTest::newRow("head tags stay in the title")
        << QStringList{"<head><title>Brasil</title></head>"} << "<head>Brasil</head>"
        << ""
        << "";
    QTest::newRow("later title line before the body wins")
        << QStringList{"<title>Um</title>", "subtitle: Dois"} << "subtitle: Dois"
        << ""
        << "";
    QTest::newRow("apostrophes removed")
        << QStringList{"<title>Copo d'água</title>"} << "Copo dágua"
        << ""
        << "";
    QTest::newRow("no title, no anchor, no body") << QStringList{"<html>", "texto"} << ""
                                                  << ""
                                                  << "";
    QTest::newRow("anchor cut before quote") << QStringList{"<a name=\"Brasil\">texto</a>"} << ""
                                             << "Brasil"
                                             << "";
    QTest::newRow("anchor cut inside other text") << QStringList{"name=\">x"} << ""
                                                  << "name="
                                                  << "";
    QTest::newRow("anchor quote first after the name tag")
        << QStringList{"<a name=\"\">Brasil"} << ""
        << ""
        << "";
    QTest::newRow("first <b> line dropped, later ones kept")
        << QStringList{"<b>abre</b>", "um", "<b>dois</b>", "tres"} << ""
        << ""
        << "um<b>dois</b>tres";
    QTest::newRow("lower-case end tags stay")
        << QStringList{"<b>", "fim</body></html>", "x</BODY></HTML>y"} << ""
        << ""
        << "fim</body></html>xy";
    QTest::newRow("anchor keeps text before the name tag")
        << QStringList{"<p><a name=\"Brasil\"></a></p>"} << ""
        << "<p>Brasil"
        << "";
    QTest::newRow("line opening the body still sets the title")
        << QStringList{"<title>T</title><b>", "x"} << "T<b>"
        << ""
        << "x";
    QTest::newRow("line opening the body still sets the anchor")
        << QStringList{"<a name=\"N\"></a></p><b>", "x"} << ""
        << "N<b>"
        << "x";
    QTest::newRow("later body lines do not clobber") << QStringList{"<title>Brasil</title>",
                                                                    "<a name=\"Brasil\"></a></p>",
                                                                    "<b>Brasil</b>",
                                                                    "um",
                                                                    "<a name=\"Rio\"></a></p>",
                                                                    "o title do rio"}
                                                     << "Brasil"
                                                     << "Brasil"
                                                     << "um<a name=\"Rio\"></a></p>o title do rio";
    QTest::newRow("lone line feed stays in the body") << QStringList{"<b>", "a\nb", "c"} << ""
                                                      << ""
                                                      << "a\nbc";
}

void ArticleTextTest::readsTitleAnchorAndBody() {
    QFETCH(QStringList, lines);
    QFETCH(QString, title);
    QFETCH(QString, anchor);
    QFETCH(QString, body);
    const ArticleParts parts = readArticleParts(lines.join("\r\n"));
    QCOMPARE(parts.title, title);
    QCOMPARE(parts.anchorName, anchor);
    QCOMPARE(parts.body, body);
}

void ArticleTextTest::pageTitleIsWhatThePageShows() {
    const QString stored =
        u"<html><head>\r\n<title>Copo d'água</title>\r\n<p><b>Copo</b></p>\r\n<title>x</title>\r\n"_s;
    QCOMPARE(pageTitle(stored), u"Copo dágua"_s);
    QCOMPARE(pageTitle(u"<title><IMG SRC=\"Image1.gif\"></title>"_s, u"D:"_s),
             u"<IMG SRC=\"D:/lex2000/tomo98a/Image1.gif\">"_s);
}

void ArticleTextTest::countsCharactersNotUtf16Units() {
    QCOMPARE(characterCount(u"a😀Ω"_s), 3);
    QCOMPARE(characterCount(QString()), 0);
}

QTEST_APPLESS_MAIN(ArticleTextTest)
#include "test_article_text.moc"
