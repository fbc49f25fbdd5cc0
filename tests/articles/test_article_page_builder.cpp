// The article page built from real database rows (SQLite) in an installation
// folder reached through the drive map, as the reader builds it.
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "articles/ArticlePageBuilder.h"
#include "articles/TextFileLines.h"
#include "headless/HeadlessBrowser.h"
#include "headless/HeadlessWindowSystem.h"
#include "host/Windows1252.h"
#include "media/DriveMap.h"
#include "support/DatabaseFixtures.h"
#include "support/FileBytes.h"
#include "support/RecordingDatabases.h"

using namespace lumera;
using namespace lumera::testing;
using namespace Qt::StringLiterals;
using Status = ArticlePageResult::Status;

namespace {

const QString kTopLink =
    u"<p align='center'><font face='Verdana, Arial, Helvetica, sans-serif' size='2'><a "
    "href='#topo'>Topo</a></font></p>"_s;

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
    if (line.startsWith("<tr><td width='8%'>"))
        return u"ROW:"_s + rowCaption.match(line).captured(1);
    if (line.startsWith("<table border='0' cellspacing='0' cellpadding='1'")) {
        return u"THUMB:"_s + thumbnailCaption.match(line).captured(1);
    }
    return line;
}

// An installation folder as the reader sees it, reached through the drive
// map by its own path, with a SQLite lex.mdb that the rows go into. folder:
// where it is made; a new temporary folder when empty.
class Site {
  public:
    explicit Site(const QString& folder = QString())
        : directory(folder.isEmpty() ? dir_.path() : folder) {
        drives.allowDirectory(directory);
        paths = {directory + u'/', u"E:"_s};
        fixtures::executeSql(
            file(u"lex.mdb"_s),
            u"CREATE TABLE DatabaseV(Arquivo TEXT, Titulo TEXT, Verbete TEXT);"
            "CREATE TABLE Fotos(Classe, Item, Caption, Tipo, Param, File, Right2, Format);"_s);
    }
    QString file(const QString& name) const { return QDir(directory).filePath(name); }
    QString shown() const { return u"Navigate "_s + paths.InstallPath + u"vf.htm"_s; }
    void useTemplate(const QStringList& lines) const {
        QVERIFY(writeBytes(file(u"modelo-final.htm"_s), textfile::encodeLines(lines)));
    }
    void addArticle(const QString& key, const QString& text) const {
        fixtures::insertRows(file(u"lex.mdb"_s), u"DatabaseV"_s, {{key, key, text}});
    }
    // "item|caption|tipo|param|file|format"
    void addMedia(const QString& row) const {
        const QStringList f = row.split(u'|');
        fixtures::insertRows(file(u"lex.mdb"_s), u"Fotos"_s,
                             {{u"c"_s, f[0], f[1], f[2], f[3], f[4], u"r"_s, f[5]}});
    }
    QStringList pageLines() const {
        return textfile::splitLines(windows1252::decode(readBytes(file(u"vf.htm"_s))));
    }
    QStringList pageShape() const {
        QStringList shape = pageLines();
        for (QString& line : shape) line = lineShape(line);
        return shape;
    }
    QStringList entries() const {
        return QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    ArticlePageResult request(const QString& key) {
        windows.messages.clear();
        return builder.BuildArticlePage(key);
    }

  private:
    QTemporaryDir dir_;

  public:
    QString directory;
    DriveMap drives;
    RecordingOpener opener;
    HeadlessBrowser browser;
    HeadlessWindowSystem windows;
    ContentPaths paths;
    ArticlePageBuilder builder{opener, drives, browser, windows, paths};
};

}  // namespace

class ArticlePageBuilderTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void buildsCompletePageByteForByte();
    void fillsTheTemplate();
    void looksUpKeysAndMedia();
    void failedRequestKeepsThePreviousPage();
    void fullOrReadOnlyDiskKeepsThePreviousPage();
    void requestsDuringAYieldWaitAndOnlyTheNewestRuns();
};

void ArticlePageBuilderTest::buildsCompletePageByteForByte() {
    Site site;
    QVERIFY(
        QFile::copy(testData(u"articles/modelo-final.htm"_s), site.file(u"modelo-final.htm"_s)));
    site.addArticle(
        u"brasil.htm"_s,
        u"<html>\r\n<head>\r\n<title>Brasil</title>\r\n</head>\r\n<body>\r\n<a "
        "name=\"Brasil\"></a></p>\r\n<p><b>Brasil</b></p>\r\n<p>País da América do Sul; "
        "capital: Brasília.\r\n Símbolo: Ω.</p>\r\n<p><IMG SRC=\"Image12.gif\"></p>\r\n"
        "</BODY></HTML>"_s);
    site.addMedia(u"Argentina|Bandeira|aband|/lex2000/fotos/arg.jpg|arg.gif|H"_s);
    site.addMedia(u"Brasil|Bandeira do Brasil|aband|/lex2000/fotos/bandeira.jpg|bandeira.gif|H"_s);
    site.addMedia(u"Brasil|Mapa político|amap|/lex2000/mapas/brasil.jpg|mapbr.jpg|V"_s);
    site.addMedia(u"Brasil|Carnaval|afilme|/lex2000/filmes/carnaval.avi|carnaval.jpg|H"_s);

    QCOMPARE(site.request(u"brasil.htm"_s).status, Status::Built);
    QCOMPARE(site.browser.calls, QStringList{site.shown()});
    QCOMPARE(site.opener.record.open, 0);  // closed again
    QVERIFY(site.windows.messages.isEmpty());
    QCOMPARE(readBytes(site.file(u"vf.htm"_s)), readBytes(testData(u"articles/brasil-vf.htm"_s)));
}

void ArticlePageBuilderTest::fillsTheTemplate() {
    const QString b1500(1500, u'x');
    const QString b1501(1501, u'x');
    // Characters, not UTF-16 units, make the length.
    const QString emoji1500 = QString(1499, u'x') + u"😀"_s;
    const struct {
        const char* templateLines;
        QString title;
        QString body;
        int mediaRows;
        const char* page;
    } rows[] = {
        {"<title>Header</title>|<h1>Titulov</h1><a name='Nome'>|<img "
         "src='d:/x.gif'>d:|<p>Texto</p>",
         "Brasil", "corpo", 0,
         "<title>Lumera Orvel On-Line -Brasil</title>|<h1>Brasil</h1><a name='ancora'>|<img "
         "src='E:/x.gif'>E:|<p>$</p>"},
        {"Header|Titulov|Nome|Texto", "Nome e Texto", "corpo", 0,
         "Lumera Orvel On-Line -ancora e $|ancora e |ancora|"},
        {"Texto|<p>Texto</p>", "T", "corpo", 0, "$|<p></p>"},
        {"Texto|Topo1", "T", b1500, 0, "$|Topo1"},
        {"Texto|Topo1", "T", emoji1500, 0, "$|Topo1"},
        {"Texto|Topo1", "T", b1501, 0, "$|Topo1|TOPO"},
        {"Topo1|Texto", "T", b1501, 0, "Topo1|$"},
        {"Texto|Texto|Topo1", "T", b1501, 0, "$||Topo1"},
        {"Texto|VejaTambém|Topo2|Topo2|VejaTambém|Topo2", "T", b1501, 0,
         "$|HEAD|ROW:T|FOOT|Topo2|TOPO|Topo2|HEAD|ROW:T|FOOT|Topo2|TOPO"},
        {"Texto|Topo2", "T", b1501, 0, "$|Topo2"},
        {"Texto|VejaTambém|Topo2", "T", b1500, 0, "$|HEAD|ROW:T|FOOT|Topo2"},
        {"Texto|VejaTambém|Topo1 Topo2", "T", b1501, 0, "$|HEAD|ROW:T|FOOT|Topo1 Topo2|TOPO|TOPO"},
        {"VejaTambém|FotosI", "T", "", 2, "HEAD|ROW:Um|ROW:Dois|ROW:T|FOOT|THUMB:Um|THUMB:Dois"},
        {"FotosI|VejaTambém", "T", "", 2, "THUMB:Um|THUMB:Dois|HEAD|ROW:T|FOOT"},
        {"FotosI|<hr>|FotosI", "T", "", 2, "THUMB:Um|THUMB:Dois|<hr>|&nbsp;"},
        {"FotosI VejaTambém", "T", "", 2, "HEAD|ROW:Um|ROW:Dois|ROW:T|FOOT|THUMB:Um|THUMB:Dois"},
        {"VejaTambém|FotosI", "T", "", 0, "HEAD|ROW:T|FOOT|&nbsp;"},
        {"<p>Texto</p>|Topo2", "T", "VejaTambém" + b1501, 0, "HEAD|ROW:T|FOOT|Topo2|TOPO"},
        {"<p>Texto</p>", "T", "FotosI", 2, "THUMB:Um|THUMB:Dois"},
        {"<p>Texto</p>", "T", "Topo1" + b1500, 0, "<p>$</p>|TOPO"},
    };
    for (const auto& row : rows) {
        Site site;
        site.useTemplate(QString::fromUtf8(row.templateLines).split(u'|'));
        site.addArticle(u"a.htm"_s, article(row.title, u"ancora"_s, row.body));
        for (const QString& caption : QStringList{u"Um"_s, u"Dois"_s}.mid(0, row.mediaRows)) {
            site.addMedia(row.title + u'|' + caption + u"|afoto|/f.jpg|f.jpg|V"_s);
        }
        QCOMPARE(site.request(u"a.htm"_s).status, Status::Built);
        const QString body = QString::fromLatin1(windows1252::encodeWithReferences(row.body));
        QCOMPARE(site.pageShape(), QString::fromUtf8(row.page).replace(u'$', body).split(u'|'));
    }
}

void ArticlePageBuilderTest::looksUpKeysAndMedia() {
    Site site;
    site.useTemplate({u"Titulov"_s, u"VejaTambém"_s});
    site.addArticle(u"copo.htm"_s, article(u"Copo d'água"_s, u"copo"_s, u"corpo"_s));
    site.addMedia(u"Copo dágua|Um copo|afoto|/copo.jpg|copo.jpg|V"_s);

    // The media are looked up by the title the page shows, without apostrophes.
    QCOMPARE(site.request(u"copo.htm"_s).status, Status::Built);
    QCOMPARE(site.opener.record.mediaTitles, QStringList{u"Copo dágua"_s});
    QCOMPARE(site.pageShape(),
             (QStringList{"Copo dágua", "HEAD", "ROW:Um copo", "ROW:Copo dágua", "FOOT"}));
}

void ArticlePageBuilderTest::failedRequestKeepsThePreviousPage() {
    enum Damage { Removed, Emptied, Text, Sql, Folder };
    // said: what follows "Não foi possível " (%1 the installation folder), then
    // after "|" the engine's words later in the message.
    const struct {
        Damage damage;
        const char16_t* file;
        const char16_t* sql;
        const char16_t* said;
    } rows[] = {
        {Removed, u"lex.mdb", nullptr, u"encontrar a base de dados lex.mdb em %1."},
        {Emptied, u"lex.mdb", nullptr,
         u"ler o verbete rio.htm na base de dados lex.mdb em %1.\n|o arquivo está vazio"},
        {Text, u"lex.mdb", nullptr,
         u"ler o verbete rio.htm na base de dados lex.mdb em %1.\n|não é uma base de dados"},
        {Sql, u"lex.mdb",
         u"CREATE TABLE DatabaseV(Arquivo, Titulo); INSERT INTO DatabaseV VALUES('rio.htm', "
         u"'Rio');",
         u"ler o verbete rio.htm na base de dados lex.mdb em %1.\n|Verbete"},
        {Sql, u"lex.mdb",
         u"CREATE TABLE DatabaseV(Arquivo, Titulo, Verbete); INSERT INTO DatabaseV "
         u"VALUES('rio.htm', 'Rio', 'texto');",
         u"ler o verbete rio.htm na base de dados lex.mdb em %1.\n|A tabela Fotos"},
        {Sql, u"lex.mdb",
         u"CREATE TABLE DatabaseV(Arquivo, Titulo, Verbete); INSERT INTO DatabaseV(Arquivo) "
         u"VALUES('rio.htm');",
         u"montar a página do verbete rio.htm: falta o texto dele na base de dados lex.mdb em %1."},
        {Removed, u"modelo-final.htm", nullptr, u"ler o modelo de página modelo-final.htm em %1."},
        {Folder, u"modelo-final.htm", nullptr, u"ler o modelo de página modelo-final.htm em %1."},
        {Folder, u"vf.htm", nullptr, u"gravar a página vf.htm em %1."},
        {Folder, u"v.txt", nullptr, u"gravar o arquivo v.txt em %1."},
    };
    for (const auto& row : rows) {
        Site site;
        site.useTemplate({u"Titulov"_s});
        site.addArticle(u"brasil.htm"_s, article(u"Brasil"_s, {}, {}));
        site.addArticle(u"rio.htm"_s, article(u"Rio"_s, {}, {}));
        site.addArticle(u"agua.htm"_s, article(u"Água"_s, {}, {}));
        QCOMPARE(site.request(u"brasil.htm"_s).status, Status::Built);
        const QByteArray previousPage = readBytes(site.file(u"vf.htm"_s));
        QCOMPARE(previousPage, QByteArray("Brasil\r\n"));
        const QByteArray database = readBytes(site.file(u"lex.mdb"_s));

        const QString file = QString::fromUtf16(row.file);
        QFile::remove(site.file(file));
        if (row.damage == Emptied) QVERIFY(writeBytes(site.file(file), {}));
        if (row.damage == Text) QVERIFY(writeBytes(site.file(file), QByteArray(8192, 'x')));
        if (row.damage == Folder) QVERIFY(QDir(site.directory).mkdir(file));
        // With rio.htm in it, so only the missing table or column fails.
        if (row.damage == Sql) fixtures::executeSql(site.file(file), QString::fromUtf16(row.sql));
        const QStringList entriesBefore = site.entries();
        const ArticlePageResult result = site.request(u"rio.htm"_s);

        const QStringList said = QString::fromUtf16(row.said).split(u'|');
        QCOMPARE(result.status, Status::Failed);
        QVERIFY2(result.message.startsWith(u"Não foi possível "_s + said[0].arg(site.directory)) &&
                     result.message.contains(said.value(1)),
                 qPrintable(result.message));
        QCOMPARE(site.windows.messages.size(), 1);
        const ShownMessage& shown = site.windows.messages[0];
        QCOMPARE(shown.text + u'|' + shown.title + u'|' + QString::number(shown.style),
                 result.message + u"|Lumera Edição 2002|16"_s);
        QCOMPARE(site.browser.calls, QStringList{site.shown()});
        if (QFileInfo(site.file(u"vf.htm"_s)).isFile())
            QCOMPARE(readBytes(site.file(u"vf.htm"_s)), previousPage);
        // No temporary file is left behind.
        QCOMPARE(site.entries(), entriesBefore);

        // Put right, the reader goes on.
        for (const QString& name : {u"lex.mdb"_s, u"vf.htm"_s, u"v.txt"_s, u"modelo-final.htm"_s}) {
            QDir(site.file(name)).removeRecursively();
            QFile::remove(site.file(name));
        }
        QVERIFY(writeBytes(site.file(u"lex.mdb"_s), database));
        site.useTemplate({u"Titulov"_s});
        QCOMPARE(site.request(u"agua.htm"_s).status, Status::Built);
        QVERIFY(site.windows.messages.isEmpty());
    }
}

// A small tmpfs of its own, so that "disk full" and "read-only" are real.
void ArticlePageBuilderTest::fullOrReadOnlyDiskKeepsThePreviousPage() {
    const auto run = [](const QStringList& arguments) {
        return QProcess::execute(u"mount"_s, arguments) == 0;
    };
    QTemporaryDir disk;
    if (!run({u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=256k"_s, u"tmpfs"_s, disk.path()}))
        QSKIP("mounting a tmpfs needs root (mount -t tmpfs)");
    const auto unmount = qScopeGuard([&] { QProcess::execute(u"umount"_s, {disk.path()}); });
    Site site(disk.path());
    // A large template makes the page far larger than the article text, so
    // the scratch file still fits and the page does not.
    site.useTemplate({u"<h1>Titulov</h1>"_s, u"Texto"_s, QString(60 * 1024, u'm')});
    site.addArticle(u"brasil.htm"_s, article(u"Brasil"_s, {}, u"<p>pequeno</p>"_s));
    site.addArticle(u"rio.htm"_s, article(u"Rio"_s, {}, QString(8 * 1024, u'r')));
    QCOMPARE(site.request(u"brasil.htm"_s).status, Status::Built);
    const QByteArray previousPage = readBytes(site.file(u"vf.htm"_s));

    // Full: the disk is filled, then 32 KB of it freed again.
    const QString filler = site.file(u"enchimento"_s);
    {
        QFile file(filler);
        QVERIFY(file.open(QIODevice::WriteOnly));
        while (file.write(QByteArray(4096, 'x')) == 4096 && file.flush()) {
        }
    }
    QVERIFY(QFile::resize(filler, std::max<qint64>(0, QFileInfo(filler).size() - 32 * 1024)));
    const QStringList before = site.entries();
    ArticlePageResult result = site.request(u"rio.htm"_s);
    QCOMPARE(result.status, Status::Failed);
    QCOMPARE(result.message, u"Não foi possível gravar a página vf.htm em %1."_s.arg(disk.path()));
    QCOMPARE(readBytes(site.file(u"vf.htm"_s)), previousPage);
    QCOMPARE(site.entries(), before);  // no half-written file left behind
    // Room again: the reader goes on.
    QVERIFY(QFile::remove(filler));
    QCOMPARE(site.request(u"rio.htm"_s).status, Status::Built);
    QVERIFY(readBytes(site.file(u"vf.htm"_s)).contains(QByteArray(8 * 1024, 'r')));
}

void ArticlePageBuilderTest::requestsDuringAYieldWaitAndOnlyTheNewestRuns() {
    Site site;
    site.useTemplate({u"Titulov"_s});
    for (const QString& title : {u"Um"_s, u"Dois"_s, u"Tres"_s})
        site.addArticle(title.toLower() + u".htm"_s, article(title, {}, {}));
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
    QCOMPARE(site.opener.record.articleKeys, (QStringList{u"um.htm"_s, u"tres.htm"_s}));
    QCOMPARE(site.opener.record.mostOpenAtOnce, 1);
    QCOMPARE(site.browser.calls, (QStringList{site.shown(), site.shown()}));
    QCOMPARE(site.pageLines(), QStringList{u"Tres"_s});
    // The waiting request started only after the first page was written.
    QVERIFY(pagesSeenDuringYields.contains(u"Um"_s));
}

QTEST_GUILESS_MAIN(ArticlePageBuilderTest)
#include "test_article_page_builder.moc"
