// The see-also table and the thumbnails written from media rows, read
// through the record set both database engines deliver.
#include <QRegularExpression>
#include <QTest>
#include <array>

#include "articles/MediaBlocks.h"
#include "database/ArticleDatabaseFiles.h"
#include "database/RowRecordset.h"

using namespace lumera;
using namespace Qt::StringLiterals;

namespace {

// Media rows of "Brasil": caption, Tipo, Param, File, Format.
RowRecordset media(const std::vector<std::array<StoredText, 5>>& rows) {
    TableRows table{articletables::kMediaColumns, {}};
    for (const auto& r : rows)
        table.rows.push_back({u"c"_s, u"Brasil"_s, r[0], r[1], r[2], r[3], u"r"_s, r[4]});
    return RowRecordset(std::move(table), u"lex.mdb"_s, u"Fotos"_s);
}

// The icon, link, caption and label of a see-also row, or "" for an empty line.
QString rowParts(const QString& line) {
    const QRegularExpression parts(
        u"<img src='([^']*)'.*href='([^']*)'.*size='2'>([^<]*)</font></a>.*size='2'>([^<]*)</font></div>"_s);
    const auto m = parts.match(line);
    return m.hasMatch()
               ? QStringList{m.captured(1), m.captured(2), m.captured(3), m.captured(4)}.join(u'|')
               : line;
}

}  // namespace

class MediaBlocksTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void seeAlsoRowOfAKind();
    void seeAlsoTableAndThumbnailsTogether();
    void thumbnailFragments();
    void mediaRowLinks();
};

// The golden page shows the other kinds.
void MediaBlocksTest::seeAlsoRowOfAKind() {
    const struct {
        StoredText tipo;
        const char* row;  // icon, link, caption, label
    } rows[] = {
        {u"amod"_s, "E:/lex2000/image/ico/audvis.gif|E:/X.htm|Item|Painel"},
        {u"afilme"_s, "E:/lex2000/image/ico/video.gif|E:/X.htm|Item|Vídeo"},
        {u"AFOTO"_s, ""},  // kinds are told by their exact letters
        {std::nullopt, ""},
    };
    for (const auto& row : rows) {
        RowRecordset rowset = media({{u"Item"_s, row.tipo, u"/x.jpg"_s, u"x.jpg"_s, u"V"_s}});
        QStringList page;
        MediaBlockWriter(u"E:"_s).writeSeeAlsoTable(rowset, u"Brasil"_s, page);
        QCOMPARE(page.size(), 4);  // head, the row, the website row, foot
        QCOMPARE(rowParts(page[1]), QString::fromUtf8(row.row));
        QCOMPARE(rowParts(page[2]),
                 u"E:/lex2000/image/ico/website.gif|/procura.asp?\"\"|Brasil|Website"_s);
    }
}

// The thumbnails follow a see-also table over the same rows; captions holding
// the placeholders of the row text stay as they are.
void MediaBlocksTest::seeAlsoTableAndThumbnailsTogether() {
    RowRecordset rowset =
        media({{u"Icone|Tipo1|Link1W|xyz|FLinkV"_s, u"afoto"_s, u"/b.jpg"_s, u"b.gif"_s, u"V"_s},
               {u"Hino"_s, u"asom"_s, u"/lex2000/sons/hino.wav"_s, u"hino.jpg"_s, u"H"_s}});
    QStringList page;
    const MediaBlockWriter writer(u"E:"_s);
    writer.writeSeeAlsoTable(rowset, u"Tipo1"_s, page);
    writer.writeThumbnails(rowset, page);
    QCOMPARE(page.size(), 7);
    QCOMPARE(
        rowParts(page[1]),
        u"E:/lex2000/image/ico/foto.gif|E:/B.htm|E:/lex2000/image/ico/foto.gif|Imagem|E:/B.htm|xyz|FLinkV|Imagem"_s);
    QCOMPARE(rowParts(page[3]),
             u"E:/lex2000/image/ico/website.gif|/procura.asp?\"\"|Website|Website"_s);
    QVERIFY(page[5].endsWith(
        u"</table>Icone|Tipo1|Link1W|E:/lex2000/image/tumb/b.gif|E:/B.htm<br><br>"_s));
    QVERIFY(page[6].endsWith(u"</table>Hino<br><br>"_s));
    QVERIFY(rowset.atEnd());
}

// A thumbnail is framed (a frame colour) unless its file name holds "gif";
// its height follows the format, and other formats give none. Rows: file,
// format, then "framed|height", "plain|height" or "".
void MediaBlocksTest::thumbnailFragments() {
    const char16_t* const rows[][3] = {{u"Rio.jpg", u"V", u"framed|101"},
                                       {u"Rio.jpg", u"H", u"framed|54"},
                                       {u"brasil.GIF", u"V", u"framed|101"},
                                       {u"brasil.gif", u"V", u"plain|101"},
                                       {u"gifrio.png", u"H", u"plain|54"},
                                       {u"Rio.jpg", u"v", u""},
                                       {u"Rio.jpg", u"", u""}};
    for (const auto& row : rows) {
        const QString file = QString::fromUtf16(row[0]);
        // The kind plays no part in the thumbnails.
        RowRecordset rowset = media({{u"Rio"_s, u"AFOTO"_s, u"/lex2000/fotos/brasil.jpg"_s, file,
                                      QString::fromUtf16(row[1])}});
        QStringList page;
        MediaBlockWriter(u"E:"_s).writeThumbnails(rowset, page);
        QString shape;
        if (!page[0].isEmpty()) {
            QVERIFY(page[0].contains(
                u"<a href='E:/LEX2000/FOTOS/BRASIL.htm'><img src='E:/lex2000/image/tumb/"_s + file +
                u"'"_s));
            QVERIFY(page[0].endsWith(u"</table>Rio<br><br>"_s));
            shape = (page[0].contains(u"bgcolor='#FFCC00'"_s) ? u"framed|"_s : u"plain|"_s) +
                    page[0].section(u"height='"_s, 1).section(u'\'', 0, 0);
        }
        QCOMPARE(shape, QString::fromUtf16(row[2]));
    }
}

void MediaBlocksTest::mediaRowLinks() {
    const struct {
        QString param;
        QString link;
    } rows[] = {
        {u"/lex2000/fotos/brasil.jpg"_s, u"E:/LEX2000/FOTOS/BRASIL.htm"_s},
        {u"/lex2000/Fotos/Brasil.JPG"_s, u"E:/LEX2000/FOTOS/BRASIL.htm"_s},
        {u"/a.jpg/b.jpg"_s, u"E:/A.htm/B.htm"_s},
        {u"/lex2000/sons/hino.wav"_s, u"E:/LEX2000/SONS/HINO.WAV"_s},
        {u"/lex2000/fotos/rio.jpeg"_s, u"E:/LEX2000/FOTOS/RIO.JPEG"_s},
        {u"/lex2000/fotos/ação.jpg"_s, u"E:/LEX2000/FOTOS/AÇÃO.htm"_s},
        {u"/lex2000/fotos/straße.jpg"_s, u"E:/LEX2000/FOTOS/STRAßE.htm"_s},  // no "SS"
    };
    for (const auto& row : rows) {
        const RowRecordset rowset = media({{u"c"_s, u"afoto"_s, row.param, u"x.jpg"_s, u"V"_s}});
        QCOMPARE(MediaBlockWriter(u"E:"_s).mediaRowLink(rowset), row.link);
    }
}

QTEST_APPLESS_MAIN(MediaBlocksTest)
#include "test_media_blocks.moc"
