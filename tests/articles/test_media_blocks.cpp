#include <QTest>

#include "articles/InMemoryArticleDatabase.h"
#include "articles/MediaBlocks.h"

using namespace lumera;
using namespace lumera::testing;
using namespace Qt::StringLiterals;

namespace {

const QString kHead =
    u"<table width='100%' border='0' cellspacing='4' cellpadding='0'><tr bgcolor='#006699'><td>"
    "<div align='center'><font color='#FFFFFF'><b><font face='Arial,Helvetica, sans-serif' "
    "size='2'>Veja tamb&eacute;m:</font></b></font></div></td></tr><tr bgcolor='#FFFFFF'><td>"
    "<table width='100%' border='0' cellspacing='0' cellpadding='2'><tr bgcolor='#CCCCCC'>"
    "<td width='8%' height='20'>&nbsp;</td><td width='78%' height='20'><div align='left'><font "
    "face='Arial, Helvetica, sans-serif' size='2' color='#FFFFFF'><b>T&iacute;tulo</b></font>"
    "</div></td><td height='20' width='14%'><div align='center'><font face='Arial, Helvetica, "
    "sans-serif' size='2' color='#FFFFFF'><b>Tipo</b></font></div></td></tr>"_s;

const QString kFoot =
    u"<tr bgcolor='#006699'><td colspan='3'><div align='center'><img src='/lex2000/gui/1px.gif' "
    "width='102' height='2'></div></td></tr></table></td></tr></table>"_s;

QString row(const QString& icon, const QString& link, const QString& caption,
            const QString& label) {
    return u"<tr><td width='8%'><div align='center'><img src='%1' width='32' height='32'></div>"
           "</td><td width='78%'><font face='Arial, Helvetica, sans-serif' color='#000000'><a "
           "href='%2'><font face='Verdana, Arial, Helvetica, sans-serif' size='2'>%3</font></a>"
           "</font></td><td width='14%'><div align='center'><font face='Verdana, Arial, "
           "Helvetica, sans-serif' size='2'>%4</font></div></td></tr>"_s.arg(icon, link, caption,
                                                                             label);
}

QString websiteRow(const QString& title) {
    return row(u"E:/lex2000/image/ico/website.gif"_s, u"/procura.asp?\"\""_s, title, u"Website"_s);
}

// The media rows of "Brasil" from the rows added to the table.
class MediaFixture {
  public:
    ArticleTables tables;
    std::unique_ptr<Recordset> query() {
        database_ = std::make_unique<InMemoryArticleDatabase>(tables);
        return database_->mediaQuery(u"Brasil"_s);
    }

  private:
    std::unique_ptr<InMemoryArticleDatabase> database_;
};

}  // namespace

class MediaBlocksTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void seeAlsoTableToTheCharacter();
    void seeAlsoRowOfEveryKind_data();
    void seeAlsoRowOfEveryKind();
    void seeAlsoWithoutMediaHasOnlyTheWebsiteRow();
    void thumbnailFragments_data();
    void thumbnailFragments();
    void mediaRowLinks_data();
    void mediaRowLinks();
    void placeholdersInCaptionsAreReplacedByLaterSteps();
};

void MediaBlocksTest::seeAlsoTableToTheCharacter() {
    MediaFixture fixture;
    fixture.tables.addMedia("Brasil", "Bandeira do Brasil", u"aband"_s, "/lex2000/fotos/band.jpg",
                            "band.gif", "H");
    fixture.tables.addMedia("Brasil", "Mapa antigo", u"AFOTO"_s, "/lex2000/fotos/mapa.jpg",
                            "mapa.jpg", "V");
    fixture.tables.addMedia("Brasil", "Sem tipo", std::nullopt, "/lex2000/fotos/x.jpg", "x.jpg",
                            "V");
    fixture.tables.addMedia("Brasil", "Hino", u"asom"_s, "/lex2000/sons/hino.wav", "hino.jpg", "V");
    auto media = fixture.query();
    QStringList page;
    MediaBlockWriter(u"E:"_s).writeSeeAlsoTable(*media, u"Brasil"_s, page);
    const QStringList expected = {
        kHead,
        row(u"E:/lex2000/image/ico/bandeira.gif"_s, u"E:/LEX2000/FOTOS/BAND.htm"_s,
            u"Bandeira do Brasil"_s, u"Imagem"_s),
        QString(),
        QString(),
        row(u"E:/lex2000/image/ico/audio.gif"_s, u"E:/LEX2000/SONS/HINO.WAV"_s, u"Hino"_s,
            u"Áudio"_s),
        websiteRow(u"Brasil"_s),
        kFoot,
    };
    QCOMPARE(page, expected);
}

void MediaBlocksTest::seeAlsoRowOfEveryKind_data() {
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("label");
    QTest::newRow("afoto") << "afoto"
                           << "foto.gif"
                           << "Imagem";
    QTest::newRow("amod") << "amod"
                          << "audvis.gif"
                          << "Painel";
    QTest::newRow("aband") << "aband"
                           << "bandeira.gif"
                           << "Imagem";
    QTest::newRow("agrafico") << "agrafico"
                              << "grafico.gif"
                              << "Imagem";
    QTest::newRow("amap") << "amap"
                          << "mapa.gif"
                          << "Imagem";
    QTest::newRow("afilme") << "afilme"
                            << "video.gif"
                            << "Vídeo";
    QTest::newRow("asom") << "asom"
                          << "audio.gif"
                          << "Áudio";
}

void MediaBlocksTest::seeAlsoRowOfEveryKind() {
    QFETCH(QString, tipo);
    QFETCH(QString, icon);
    QFETCH(QString, label);
    MediaFixture fixture;
    fixture.tables.addMedia("Brasil", "Item", tipo, "/lex2000/x/item.jpg", "item.jpg", "V");
    auto media = fixture.query();
    QStringList page;
    MediaBlockWriter(u"E:"_s).writeSeeAlsoTable(*media, u"Brasil"_s, page);
    QCOMPARE(page.size(), 4);
    QCOMPARE(page[1],
             row("E:/lex2000/image/ico/" + icon, u"E:/LEX2000/X/ITEM.htm"_s, u"Item"_s, label));
}

void MediaBlocksTest::seeAlsoWithoutMediaHasOnlyTheWebsiteRow() {
    MediaFixture fixture;
    fixture.tables.addMedia("Argentina", "Outro", u"afoto"_s, "/x.jpg", "x.jpg", "V");
    auto media = fixture.query();
    QStringList page;
    const MediaBlockWriter writer(u"E:"_s);
    writer.writeSeeAlsoTable(*media, u"Brasil"_s, page);
    writer.writeSeeAlsoTable(*media, QString(), page);
    writer.writeThumbnails(*media, page);
    QCOMPARE(page, (QStringList{kHead, websiteRow(u"Brasil"_s), kFoot, kHead, websiteRow({}), kFoot,
                                u"&nbsp;"_s}));
}

void MediaBlocksTest::thumbnailFragments_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("thumbnail");
    const QString framed =
        u"<table border='0' cellspacing='0' cellpadding='1' "
        "bgcolor='#FFCC00'><tr><td><a href='E:/LEX2000/FOTOS/BRASIL.htm'>"
        "<img src='E:/lex2000/image/tumb/%1' width='76' height='%2' "
        "border='0'></a></td></tr></table>Rio<br><br>"_s;
    const QString plain =
        u"<table border='0' cellspacing='0' cellpadding='1'><tr><td><a "
        "href='E:/LEX2000/FOTOS/BRASIL.htm'><img "
        "src='E:/lex2000/image/tumb/%1' width='76' height='%2' "
        "border='0'></a></td></tr></table>Rio<br><br>"_s;
    QTest::newRow("framed upright") << "Rio.jpg"
                                    << "V" << framed.arg("Rio.jpg", "101");
    QTest::newRow("framed landscape") << "Rio.jpg"
                                      << "H" << framed.arg("Rio.jpg", "54");
    QTest::newRow("GIF is framed") << "brasil.GIF"
                                   << "V" << framed.arg("brasil.GIF", "101");
    QTest::newRow("plain upright") << "brasil.gif"
                                   << "V" << plain.arg("brasil.gif", "101");
    QTest::newRow("plain landscape") << "gifrio.png"
                                     << "H" << plain.arg("gifrio.png", "54");
    QTest::newRow("lower-case format") << "Rio.jpg"
                                       << "v" << QString();
    QTest::newRow("no format") << "Rio.jpg"
                               << "" << QString();
}

void MediaBlocksTest::thumbnailFragments() {
    QFETCH(QString, file);
    QFETCH(QString, format);
    QFETCH(QString, thumbnail);
    MediaFixture fixture;
    // The kind plays no part in the thumbnails.
    fixture.tables.addMedia("Brasil", "Rio", u"AFOTO"_s, "/lex2000/fotos/brasil.jpg", file, format);
    auto media = fixture.query();
    QStringList page;
    MediaBlockWriter(u"E:"_s).writeThumbnails(*media, page);
    QCOMPARE(page, QStringList{thumbnail});
    QVERIFY(media->atEnd());
}

void MediaBlocksTest::mediaRowLinks_data() {
    QTest::addColumn<QString>("param");
    QTest::addColumn<QString>("link");
    QTest::newRow("jpg page") << "/lex2000/fotos/brasil.jpg"
                              << "E:/LEX2000/FOTOS/BRASIL.htm";
    QTest::newRow("JPG page") << "/lex2000/Fotos/Brasil.JPG"
                              << "E:/LEX2000/FOTOS/BRASIL.htm";
    QTest::newRow("every jpg") << "/a.jpg/b.jpg"
                               << "E:/A.htm/B.htm";
    QTest::newRow("other file") << "/lex2000/sons/hino.wav"
                                << "E:/LEX2000/SONS/HINO.WAV";
    QTest::newRow("jpeg") << "/lex2000/fotos/rio.jpeg"
                          << "E:/LEX2000/FOTOS/RIO.JPEG";
    QTest::newRow("accents upper-cased") << "/lex2000/fotos/ação.jpg"
                                         << "E:/LEX2000/FOTOS/AÇÃO.htm";
}

void MediaBlocksTest::mediaRowLinks() {
    QFETCH(QString, param);
    QFETCH(QString, link);
    MediaFixture fixture;
    fixture.tables.addMedia("Brasil", "c", u"afoto"_s, param, "x.jpg", "V");
    auto media = fixture.query();
    QCOMPARE(MediaBlockWriter(u"E:"_s).mediaRowLink(*media), link);
}

void MediaBlocksTest::placeholdersInCaptionsAreReplacedByLaterSteps() {
    MediaFixture fixture;
    fixture.tables.addMedia("Brasil", "Icone|Tipo1|Link1W|xyz|FLinkV", u"afoto"_s, "/b.jpg",
                            "b.gif", "V");
    auto media = fixture.query();
    QStringList page;
    const MediaBlockWriter writer(u"E:"_s);
    writer.writeSeeAlsoTable(*media, u"Tipo1"_s, page);
    writer.writeThumbnails(*media, page);
    QCOMPARE(page[1],
             row(u"E:/lex2000/image/ico/foto.gif"_s, u"E:/B.htm"_s,
                 u"E:/lex2000/image/ico/foto.gif|Imagem|E:/B.htm|xyz|FLinkV"_s, u"Imagem"_s));
    QCOMPARE(page[2], row(u"E:/lex2000/image/ico/website.gif"_s, u"/procura.asp?\"\""_s,
                          u"Website"_s, u"Website"_s));
    QCOMPARE(page[4],
             u"<table border='0' cellspacing='0' cellpadding='1'><tr><td><a "
             "href='E:/B.htm'><img src='E:/lex2000/image/tumb/b.gif' width='76' "
             "height='101' border='0'></a></td></tr></table>Icone|Tipo1|Link1W|"
             "E:/lex2000/image/tumb/b.gif|E:/B.htm<br><br>"_s);
}

QTEST_APPLESS_MAIN(MediaBlocksTest)
#include "test_media_blocks.moc"
