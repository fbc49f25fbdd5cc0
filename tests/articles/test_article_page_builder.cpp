#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "articles/ArticlePageBuilder.h"
#include "articles/DirectoryFileAccess.h"
#include "articles/InMemoryArticleDatabase.h"
#include "articles/TextFileLines.h"
#include "host/Windows1252.h"
#include "support/FileBytes.h"
#include "support/Recorders.h"

using namespace lumera;
using namespace lumera::testing;
using namespace Qt::StringLiterals;
using Status = ArticlePageResult::Status;
using SiteChange = std::function<void(class Installation&)>;

namespace {

const QString kInstallPath = u"C:\\lex\\"_s;
const QString kShowPage = u"Navigate C:\\lex\\vf.htm"_s;
const QString kTopLink =
    u"<p align='center'><font face='Verdana, Arial, Helvetica, sans-serif' size='2'><a "
    "href='#topo'>Topo</a></font></p>"_s;

QString testData(const QString& name) {
    return QDir(qEnvironmentVariable("LUMERA_TEST_DATA")).filePath(u"articles/"_s + name);
}

QString article(const QString& title, const QString& anchor, const QString& body) {
    return u"<html><head>\r\n<title>%1</title>\r\n</head><body>\r\n<a name=\"%2\"></a></p>\r\n"
           "<p><b>%1</b></p>\r\n%3\r\n</BODY></HTML>"_s.arg(title, anchor, body);
}

// A page line told by what it is: the generated blocks by name and caption,
// every other line as it stands.
QString lineShape(const QString& line) {
    static const QRegularExpression rowCaption(u"size='2'>([^<]*)</font></a>"_s);
    static const QRegularExpression thumbnailCaption(u"</table>(.*)<br><br>$"_s);
    if (line == kTopLink) return u"TOPO"_s;
    if (line.startsWith("<table width='100%' border='0' cellspacing='4'")) return u"HEAD"_s;
    if (line.startsWith("<tr bgcolor='#006699'><td colspan='3'>")) return u"FOOT"_s;
    if (line.startsWith("<tr><td width='8%'>")) {
        return u"ROW:"_s + rowCaption.match(line).captured(1);
    }
    if (line.startsWith("<table border='0' cellspacing='0' cellpadding='1'")) {
        return u"THUMB:"_s + thumbnailCaption.match(line).captured(1);
    }
    return line;
}

QStringList pageShape(const QStringList& lines) {
    QStringList shape;
    for (const QString& line : lines) shape.append(lineShape(line));
    return shape;
}

}  // namespace

// An installation directory with a database file and a page template, and the
// hosts that record what the requests did.
class Installation {
  public:
    Installation() {
        QVERIFY(directory.isValid());
        QVERIFY(writeBytes(file(u"lex.mdb"_s), "stands for the database"));
    }

    QString file(const QString& name) const { return directory.filePath(name); }
    void useTemplate(const QStringList& lines) {
        QVERIFY(writeBytes(file(u"modelo-final.htm"_s), textfile::encodeLines(lines)));
    }
    QStringList pageLines() const {
        return textfile::splitLines(windows1252::decode(readBytes(file(u"vf.htm"_s))));
    }

    QTemporaryDir directory;
    ArticleTables tables;
    InMemoryDatabaseOpener opener{tables};
    DirectoryFileAccess files{kInstallPath, directory.path()};
    RecordingBrowser browser;
    RecordingWindowSystem windows;
    ContentPaths paths{kInstallPath, u"E:"_s};
    ArticlePageBuilder builder{opener, files, browser, windows, paths};
};

Q_DECLARE_METATYPE(SiteChange)

class ArticlePageBuilderTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void buildsCompletePageByteForByte();
    void writesWhatTheCodePageCannotHoldAsReferences();
    void fillsTheTemplate_data();
    void fillsTheTemplate();
    void looksUpMediaByTitleWithoutApostrophes();
    void usesTheFirstOfEqualKeys();
    void unknownKeyChangesNothing();
    void failedRequestKeepsThePreviousPage_data();
    void failedRequestKeepsThePreviousPage();
    void requestsDuringAYieldWaitAndOnlyTheNewestRuns();
    void yieldsAreThrottled();
};

void ArticlePageBuilderTest::buildsCompletePageByteForByte() {
    Installation site;
    QVERIFY(QFile::copy(testData(u"modelo-final.htm"_s), site.file(u"modelo-final.htm"_s)));
    site.tables.addArticle(
        "brasil.htm",
        u"<html>\r\n<head>\r\n<title>Brasil</title>\r\n</head>\r\n<body>\r\n<a "
        "name=\"Brasil\"></a></p>\r\n<p><b>Brasil</b></p>\r\n<p>País da América do Sul; "
        "capital: Brasília.\r\n Símbolo: Ω.</p>\r\n<p><IMG SRC=\"Image12.gif\"></p>\r\n"
        "</BODY></HTML>"_s);
    site.tables.addMedia("Argentina", "Bandeira", u"aband"_s, "/lex2000/fotos/arg.jpg", "arg.gif",
                         "H");
    site.tables.addMedia("Brasil", "Bandeira do Brasil", u"aband"_s, "/lex2000/fotos/bandeira.jpg",
                         "bandeira.gif", "H");
    site.tables.addMedia("Brasil", "Mapa político", u"amap"_s, "/lex2000/mapas/brasil.jpg",
                         "mapbr.jpg", "V");
    site.tables.addMedia("Brasil", "Carnaval", u"afilme"_s, "/lex2000/filmes/carnaval.avi",
                         "carnaval.jpg", "H");

    const ArticlePageResult result = site.builder.BuildArticlePage(u"brasil.htm"_s);

    QCOMPARE(result.status, Status::Built);
    QCOMPARE(site.browser.calls, QStringList{kShowPage});
    QCOMPARE(site.tables.openedFiles, QStringList{site.file(u"lex.mdb"_s)});
    QCOMPARE(site.tables.mediaTitles, QStringList{u"Brasil"_s});
    QCOMPARE(site.tables.openDatabases, 0);
    QVERIFY(site.windows.messages.isEmpty());
    QCOMPARE(readBytes(site.file(u"vf.htm"_s)), readBytes(testData(u"brasil-vf.htm"_s)));
    QCOMPARE(readBytes(site.file(u"v.txt"_s)),
             QByteArray("<html>\r\n<head>\r\n<title>Brasil</title>\r\n</head>\r\n<body>\r\n"
                        "<a name=\"Brasil\"></a></p>\r\n<p><b>Brasil</b></p>\r\n"
                        "<p>Pa\xEDs da Am\xE9rica do Sul; capital: Bras\xEDlia.\r\n"
                        " S\xEDmbolo: &#937;.</p>\r\n"
                        "<p><IMG SRC=\"E:/lex2000/tomo98a/Image12.gif\"></p>\r\n"
                        "</BODY></HTML>\r\n"));
}

void ArticlePageBuilderTest::writesWhatTheCodePageCannotHoldAsReferences() {
    Installation site;
    QVERIFY(writeBytes(site.file(u"modelo-final.htm"_s),
                       "<title>Header</title>\r\n<h1>Titulov</h1>\r\nTexto\r\n"
                       "<p>In\xED"
                       "cio\nfim</p>\r\n<!-- sem quebra final -->"));
    site.tables.addArticle("omega.htm", u"<title>Ωmega 😀</title>\r\n<b>\r\na€b\r\nErdős"_s);

    QCOMPARE(site.builder.BuildArticlePage(u"omega.htm"_s).status, Status::Built);
    QCOMPARE(readBytes(site.file(u"vf.htm"_s)),
             QByteArray("<title>Lumera Orvel On-Line -&#937;mega &#128512;</title>\r\n"
                        "<h1>&#937;mega &#128512;</h1>\r\n"
                        "a\x80"
                        "bErd&#337;s\r\n"
                        "<p>In\xED"
                        "cio\nfim</p>\r\n"
                        "<!-- sem quebra final -->\r\n"));
    QCOMPARE(readBytes(site.file(u"v.txt"_s)),
             QByteArray("<title>&#937;mega &#128512;</title>\r\n<b>\r\na\x80"
                        "b\r\nErd&#337;s\r\n"));
    QCOMPARE(site.tables.mediaTitles, QStringList{u"Ωmega 😀"_s});
}

void ArticlePageBuilderTest::fillsTheTemplate_data() {
    QTest::addColumn<QStringList>("templateLines");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("body");
    QTest::addColumn<int>("mediaRows");
    QTest::addColumn<QStringList>("page");

    const QString body1500(1500, u'x');
    const QString body1501(1501, u'x');
    // Characters, not UTF-16 units, make the length.
    const QString emojiBody1500 = QString(1499, u'x') + u"😀"_s;

    QTest::newRow("placeholders") << QStringList{"<title>Header</title>",
                                                 "<h1>Titulov</h1><a name='Nome'>",
                                                 "<img src='d:/lex2000/x.gif'>d:", "<p>Texto</p>"}
                                  << "Brasil"
                                  << "corpo" << 0
                                  << QStringList{"<title>Lumera Orvel On-Line -Brasil</title>",
                                                 "<h1>Brasil</h1><a name='ancora'>",
                                                 "<img src='E:/lex2000/x.gif'>E:", "<p>corpo</p>"};
    QTest::newRow("title holding Nome and Texto")
        << QStringList{"Header", "Titulov", "Nome", "Texto"} << "Nome e Texto"
        << "corpo" << 0
        << QStringList{"Lumera Orvel On-Line -ancora e corpo", "ancora e ", "ancora", ""};
    QTest::newRow("second Texto line is empty") << QStringList{"Texto", "<p>Texto</p>"} << "T"
                                                << "corpo" << 0 << QStringList{"corpo", "<p></p>"};
    QTest::newRow("Topo1 after 1500 characters")
        << QStringList{"Texto", "Topo1"} << "T" << body1500 << 0 << QStringList{body1500, "Topo1"};
    QTest::newRow("Topo1 after 1500 characters, one outside the BMP")
        << QStringList{"Texto", "Topo1"} << "T" << emojiBody1500 << 0
        << QStringList{QString(1499, u'x') + "&#128512;", "Topo1"};
    QTest::newRow("Topo1 after 1501 characters") << QStringList{"Texto", "Topo1"} << "T" << body1501
                                                 << 0 << QStringList{body1501, "Topo1", "TOPO"};
    QTest::newRow("Topo1 before Texto")
        << QStringList{"Topo1", "Texto"} << "T" << body1501 << 0 << QStringList{"Topo1", body1501};
    QTest::newRow("Topo1 after an empty second Texto")
        << QStringList{"Texto", "Texto", "Topo1"} << "T" << body1501 << 0
        << QStringList{body1501, "", "Topo1"};
    QTest::newRow("Topo2 once per see-also table")
        << QStringList{"Texto", "VejaTambém", "Topo2", "Topo2", "VejaTambém", "Topo2"} << "T"
        << body1501 << 0 << QStringList{body1501, "HEAD", "ROW:T", "FOOT", "Topo2", "TOPO",
                                        "Topo2",  "HEAD", "ROW:T", "FOOT", "Topo2", "TOPO"};
    QTest::newRow("Topo2 without see-also table")
        << QStringList{"Texto", "Topo2"} << "T" << body1501 << 0 << QStringList{body1501, "Topo2"};
    QTest::newRow("Topo2 after see-also with a short body")
        << QStringList{"Texto", "VejaTambém", "Topo2"} << "T" << body1500 << 0
        << QStringList{body1500, "HEAD", "ROW:T", "FOOT", "Topo2"};
    QTest::newRow("Topo1 and Topo2 on one line")
        << QStringList{"Texto", "VejaTambém", "Topo1 Topo2"} << "T" << body1501 << 0
        << QStringList{body1501, "HEAD", "ROW:T", "FOOT", "Topo1 Topo2", "TOPO", "TOPO"};
    QTest::newRow("see-also then thumbnails list every row")
        << QStringList{"VejaTambém", "FotosI"} << "T"
        << "" << 2
        << QStringList{"HEAD", "ROW:Um", "ROW:Dois", "ROW:T", "FOOT", "THUMB:Um", "THUMB:Dois"};
    QTest::newRow("thumbnails then see-also has only the website row")
        << QStringList{"FotosI", "VejaTambém"} << "T"
        << "" << 2 << QStringList{"THUMB:Um", "THUMB:Dois", "HEAD", "ROW:T", "FOOT"};
    QTest::newRow("second thumbnails block is a space")
        << QStringList{"FotosI", "<hr>", "FotosI"} << "T"
        << "" << 2 << QStringList{"THUMB:Um", "THUMB:Dois", "<hr>", "&nbsp;"};
    QTest::newRow("both markers on one line")
        << QStringList{"FotosI VejaTambém"} << "T"
        << "" << 2
        << QStringList{"HEAD", "ROW:Um", "ROW:Dois", "ROW:T", "FOOT", "THUMB:Um", "THUMB:Dois"};
    QTest::newRow("no media") << QStringList{"VejaTambém", "FotosI"} << "T"
                              << "" << 0 << QStringList{"HEAD", "ROW:T", "FOOT", "&nbsp;"};
    QTest::newRow("body holding the see-also marker")
        << QStringList{"<p>Texto</p>", "Topo2"} << "T"
        << "VejaTambém" + body1501 << 0 << QStringList{"HEAD", "ROW:T", "FOOT", "Topo2", "TOPO"};
    QTest::newRow("body holding the thumbnails marker")
        << QStringList{"<p>Texto</p>"} << "T"
        << "FotosI" << 2 << QStringList{"THUMB:Um", "THUMB:Dois"};
    QTest::newRow("body holding Topo1")
        << QStringList{"<p>Texto</p>"} << "T"
        << "Topo1" + body1500 << 0 << QStringList{"<p>Topo1" + body1500 + "</p>", "TOPO"};
}

void ArticlePageBuilderTest::fillsTheTemplate() {
    QFETCH(QStringList, templateLines);
    QFETCH(QString, title);
    QFETCH(QString, body);
    QFETCH(int, mediaRows);
    QFETCH(QStringList, page);
    Installation site;
    site.useTemplate(templateLines);
    site.tables.addArticle("a.htm", article(title, u"ancora"_s, body));
    const QStringList captions = {u"Um"_s, u"Dois"_s};
    for (int i = 0; i < mediaRows; ++i) {
        site.tables.addMedia(title, captions[i], u"afoto"_s, "/f.jpg", "f.jpg", "V");
    }

    QCOMPARE(site.builder.BuildArticlePage(u"a.htm"_s).status, Status::Built);
    QCOMPARE(pageShape(site.pageLines()), page);
}

void ArticlePageBuilderTest::looksUpMediaByTitleWithoutApostrophes() {
    Installation site;
    site.useTemplate({u"Titulov"_s, u"VejaTambém"_s});
    site.tables.addArticle("copo.htm", article(u"Copo d'água"_s, u"copo"_s, u"corpo"_s));
    site.tables.addMedia("Copo dágua", "Um copo", u"afoto"_s, "/copo.jpg", "copo.jpg", "V");

    QCOMPARE(site.builder.BuildArticlePage(u"copo.htm"_s).status, Status::Built);
    QCOMPARE(site.tables.mediaTitles, QStringList{u"Copo dágua"_s});
    QCOMPARE(pageShape(site.pageLines()),
             (QStringList{"Copo dágua", "HEAD", "ROW:Um copo", "ROW:Copo dágua", "FOOT"}));
}

void ArticlePageBuilderTest::usesTheFirstOfEqualKeys() {
    Installation site;
    site.useTemplate({u"Titulov"_s});
    site.tables.addArticle("rio.htm", article(u"Primeiro"_s, {}, {}));
    site.tables.addArticle("RIO.HTM", article(u"Segundo"_s, {}, {}));

    QCOMPARE(site.builder.BuildArticlePage(u"Rio.htm"_s).status, Status::Built);
    QCOMPARE(site.pageLines(), QStringList{u"Primeiro"_s});
}

void ArticlePageBuilderTest::unknownKeyChangesNothing() {
    Installation site;
    site.useTemplate({u"Texto"_s});
    site.tables.addArticle("brasil.htm", article(u"Brasil"_s, {}, u"corpo"_s));

    const ArticlePageResult result = site.builder.BuildArticlePage(u"chile.htm"_s);

    QCOMPARE(result.status, Status::NotFound);
    QVERIFY(site.browser.calls.isEmpty());
    QVERIFY(site.windows.messages.isEmpty());
    QVERIFY(!QFile::exists(site.file(u"v.txt"_s)));
    QVERIFY(!QFile::exists(site.file(u"vf.htm"_s)));
    QCOMPARE(site.tables.openDatabases, 0);
}

void ArticlePageBuilderTest::failedRequestKeepsThePreviousPage_data() {
    QTest::addColumn<SiteChange>("breakSite");
    QTest::addColumn<QString>("message");

    const QString readError =
        u"Não foi possível ler o verbete rio.htm na base de dados lex.mdb em C:\\lex\\.\n"_s;
    QTest::newRow("database file missing")
        << SiteChange([](Installation& site) { QFile::remove(site.file(u"lex.mdb"_s)); })
        << u"Não foi possível encontrar a base de dados lex.mdb em C:\\lex\\."_s;
    QTest::newRow("database corrupt") << SiteChange([](Installation& site) {
        site.tables.openFailure = u"Arquivo corrompido."_s;
    }) << readError + u"Arquivo corrompido."_s;
    QTest::newRow("article column missing") << SiteChange([](Installation& site) {
        site.tables.databaseV.clear();
        site.tables.databaseV.push_back({{"Arquivo", u"rio.htm"_s}, {"Texto", u"x"_s}});
    }) << readError + u"Coluna desconhecida: Verbete"_s;
    QTest::newRow("media table missing")
        << SiteChange([](Installation& site) { site.tables.fotosTableExists = false; })
        << readError + u"A tabela Fotos não existe."_s;
    QTest::newRow("template missing")
        << SiteChange([](Installation& site) { QFile::remove(site.file(u"modelo-final.htm"_s)); })
        << u"Não foi possível ler o modelo de página modelo-final.htm em C:\\lex\\."_s;
    // Root reads any file whatever its mode, so unreadable is made in ways
    // that hold for every user: a folder in the file's place, and a file that
    // opens but whose read fails (EIO).
    QTest::newRow("template is a folder") << SiteChange([](Installation& site) {
        QFile::remove(site.file(u"modelo-final.htm"_s));
        QDir(site.directory.path()).mkdir(u"modelo-final.htm"_s);
    }) << u"Não foi possível ler o modelo de página modelo-final.htm em C:\\lex\\."_s;
    QTest::newRow("template read fails") << SiteChange([](Installation& site) {
        site.files.replacedNames.insert(u"modelo-final.htm"_s, u"/proc/self/mem"_s);
    }) << u"Não foi possível ler o modelo de página modelo-final.htm em C:\\lex\\."_s;
    QTest::newRow("page not writable")
        << SiteChange([](Installation& site) { site.files.refusedNames = {u"vf.htm"_s}; })
        << u"Não foi possível gravar a página vf.htm em C:\\lex\\."_s;
    QTest::newRow("scratch file not writable")
        << SiteChange([](Installation& site) { site.files.refusedNames = {u"v.txt"_s}; })
        << u"Não foi possível gravar o arquivo v.txt em C:\\lex\\."_s;
    QTest::newRow("page cannot be replaced") << SiteChange([](Installation& site) {
        QFile::remove(site.file(u"vf.htm"_s));
        QDir(site.directory.path()).mkdir(u"vf.htm"_s);
    }) << u"Não foi possível gravar a página vf.htm em C:\\lex\\."_s;
}

void ArticlePageBuilderTest::failedRequestKeepsThePreviousPage() {
    QFETCH(SiteChange, breakSite);
    QFETCH(QString, message);
    Installation site;
    site.useTemplate({u"Titulov"_s});
    site.tables.addArticle("brasil.htm", article(u"Brasil"_s, {}, {}));
    site.tables.addArticle("rio.htm", article(u"Rio"_s, {}, {}));
    QCOMPARE(site.builder.BuildArticlePage(u"brasil.htm"_s).status, Status::Built);
    const QByteArray previousPage = readBytes(site.file(u"vf.htm"_s));
    QCOMPARE(previousPage, QByteArray("Brasil\r\n"));

    breakSite(site);
    const QStringList entriesBefore =
        QDir(site.directory.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const ArticlePageResult result = site.builder.BuildArticlePage(u"rio.htm"_s);

    QCOMPARE(result.status, Status::Failed);
    QCOMPARE(result.message, message);
    QCOMPARE(site.windows.messages.size(), 1);
    QCOMPARE(site.windows.messages[0].text, message);
    QCOMPARE(site.windows.messages[0].title, u"Lumera Edição 2002"_s);
    QCOMPARE(site.windows.messages[0].style, 16);
    QCOMPARE(site.browser.calls, QStringList{kShowPage});
    if (QFileInfo(site.file(u"vf.htm"_s)).isFile()) {
        QCOMPARE(readBytes(site.file(u"vf.htm"_s)), previousPage);
    }
    // Nothing new in the directory: no temporary file is left behind.
    QCOMPARE(QDir(site.directory.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             entriesBefore);
}

void ArticlePageBuilderTest::requestsDuringAYieldWaitAndOnlyTheNewestRuns() {
    Installation site;
    site.useTemplate({u"Titulov"_s});
    for (const QString& title : {u"Um"_s, u"Dois"_s, u"Tres"_s}) {
        site.tables.addArticle(title.toLower() + ".htm", article(title, {}, {}));
    }
    QList<Status> waitingResults;
    QStringList pagesSeenDuringYields;
    site.windows.onProcessEvents = [&] {
        pagesSeenDuringYields.append(site.pageLines().join(u'|'));
        if (!waitingResults.isEmpty()) return;
        waitingResults.append(site.builder.BuildArticlePage(u"dois.htm"_s).status);
        waitingResults.append(site.builder.BuildArticlePage(u"tres.htm"_s).status);
    };

    QCOMPARE(site.builder.BuildArticlePage(u"um.htm"_s).status, Status::Built);

    QCOMPARE(waitingResults, (QList{Status::Queued, Status::Queued}));
    QCOMPARE(site.tables.articleKeys, (QStringList{u"um.htm"_s, u"tres.htm"_s}));
    QCOMPARE(site.tables.mostOpenAtOnce, 1);
    QCOMPARE(site.browser.calls, (QStringList{kShowPage, kShowPage}));
    QCOMPARE(site.pageLines(), QStringList{u"Tres"_s});
    // The waiting request started only after the first page was written.
    QVERIFY(pagesSeenDuringYields.contains(u"Um"_s));
}

void ArticlePageBuilderTest::yieldsAreThrottled() {
    QStringList lines = {u"<title>Longo</title>"_s, u"<b>"_s};
    for (int i = 0; i < 3000; ++i) lines.append(u"linha %1"_s.arg(i));
    Installation site;
    site.useTemplate({u"Titulov"_s, u"Texto"_s});
    site.tables.addArticle("longo.htm", lines.join("\r\n"));

    ArticlePageBuilder everyYield(site.opener, site.files, site.browser, site.windows, site.paths,
                                  std::chrono::milliseconds(0));
    QCOMPARE(everyYield.BuildArticlePage(u"longo.htm"_s).status, Status::Built);
    QVERIFY(site.windows.pendingEventRounds > 2 * lines.size());

    site.windows.pendingEventRounds = 0;
    ArticlePageBuilder rareYield(site.opener, site.files, site.browser, site.windows, site.paths,
                                 std::chrono::hours(1));
    QCOMPARE(rareYield.BuildArticlePage(u"longo.htm"_s).status, Status::Built);
    QCOMPARE(site.windows.pendingEventRounds, 1);
    QCOMPARE(site.pageLines().size(), 2);
}

QTEST_GUILESS_MAIN(ArticlePageBuilderTest)
#include "test_article_page_builder.moc"
