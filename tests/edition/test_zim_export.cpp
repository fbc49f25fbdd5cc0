// The sample edition exported as a user exports it, then read as a phone or a
// home network reads it: zimcheck's checks, a real kiwix-serve fetched and
// crawled, the pages reached by clicks titled as the reader titles them; then
// an export stopped on its last step, which leaves the earlier file alone.
#include <signal.h>

#include <QCryptographicHash>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QQueue>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTcpServer>
#include <QTest>

#include "searchengine/HtmlText.h"
#include "searchengine/XapianTextFolding.h"
#include "support/DiscImages.h"
#include "support/ToolRunner.h"

using namespace lumera;
using namespace lumera::testing;
using namespace Qt::StringLiterals;

namespace {

struct Fetched {
    int status = 0;
    QString type;
    QByteArray body;
    QUrl url;  // after redirects
    // Decoded as a browser decodes it: the server names no charset, the page does.
    QString html() const {
        static const QRegularExpression charset(u"charset=\"?([\\w-]+)"_s);
        const QString named = charset.match(QString::fromLatin1(body.left(1024))).captured(1);
        auto decoder = QStringDecoder(named.toLatin1().constData());
        return decoder.isValid() ? decoder.decode(body) : QString::fromUtf8(body);
    }
};

QByteArray hashOf(const QString& file) {
    return QCryptographicHash::hash(readBytes(file), QCryptographicHash::Sha256);
}

// Every href and src value of a page, as the export writes them.
QStringList references(const QString& html) {
    static const QRegularExpression reference(u"\\b(?:href|src)\\s*=\\s*\"([^\"]*)\""_s);
    QStringList found;
    for (const auto& match : reference.globalMatch(html)) found.append(match.captured(1));
    return found;
}

// The target of the first link whose text is text.
QString linkByText(const QString& html, const QString& text) {
    static const QRegularExpression link(u"<a\\s[^>]*href=\"([^\"]*)\"[^>]*>(.*?)</a>"_s,
                                         QRegularExpression::DotMatchesEverythingOption);
    for (const auto& match : link.globalMatch(html)) {
        if (HtmlText::plainText(match.captured(2)).trimmed() == text) return match.captured(1);
    }
    return QString();
}

QString titleOf(const QString& html) {
    static const QRegularExpression title(u"<title>.*?</title>"_s,
                                          QRegularExpression::DotMatchesEverythingOption);
    return HtmlText::titleText(title.match(html).captured()).trimmed();
}

}  // namespace

class ZimExportTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void zimcheckPassesEveryCheck();
    void kiwixServeShowsWhatTheReaderShows();
    void discImageGivesTheSameEntries();
    void stoppedExportLeavesTheEarlierFile();
    void cleanupTestCase();

  private:
    QString at(const QString& name) const { return work_.filePath(name); }
    ToolRun cli(const QStringList& arguments, const QString& cd = u"cd"_s) const {
        return runTool(
            u"lumera-cli"_s,
            QStringList{u"-C"_s, at(u"lex"_s), u"--drive"_s, u"D:="_s + at(cd)} + arguments);
    }
    Fetched get(const QUrl& url);
    QUrl served(const QString& path) const { return QUrl(server_ + path); }

    QTemporaryDir work_;
    QString zim_;
    int exportedArticles_ = 0;
    QString server_;
    QProcess kiwix_;
    QNetworkAccessManager network_;
};

// The sample's installation folder and CD, the CD with one more page reached
// from the home page whose links take every form the reader resolves.
void ZimExportTest::initTestCase() {
    const QString sample = qEnvironmentVariable("LUMERA_BUILD_DIR") + u"/sample/"_s;
    QVERIFY(QDir().mkpath(at(u"lex"_s)) && QDir().mkpath(at(u"out"_s)));
    for (const QString& name : {u"lex.ini"_s, u"lex.mdb"_s, u"modelo-final.htm"_s}) {
        QVERIFY(QFile::copy(sample + name, at(u"lex/"_s + name)));
    }
    const QString cd = qEnvironmentVariable("LUMERA_SOURCE_DIR") + u"/content/sample/cd"_s;
    QVERIFY(QProcess::execute(u"cp"_s, {u"-r"_s, cd, at(u"cd"_s)}) == 0);
    const QString home = at(u"cd/lex2000/joia.htm"_s);
    QVERIFY(writeBytes(
        home, readBytes(home).replace("</body>", "<a href=\"TESTES.HTM\">Testes</a></body>")));
    QVERIFY(writeBytes(at(u"cd/lex2000/testes.htm"_s),
                       "<html><head><title>Testes</title></head><body>"
                       "<a href=\"D:\\LEX2000\\BANDEI~1\\BAND-B~1.HTM\">curto</a>"
                       "<a href=\"..\\lex2000\\FOTOS\\Gota.htm#foto\">barras</a>"
                       "<a href=\"/lex2000/MAPAS/mapa-brasil.htm\">raiz</a>"
                       "<a href=\"file:///D:/lex2000/fotos/gota.htm\">arquivo</a>"
                       "<a href=\"TOMO98C\\FADO.HTM\">maiusculas</a>"
                       "<a href=\"nenhum.htm\">nada</a></body></html>"));

    zim_ = at(u"out/lumera.zim"_s);
    const ToolRun run = cli({u"export"_s, u"--zim"_s, zim_});
    QVERIFY2(run.exitCode == 0, run.err.constData());
    exportedArticles_ = QRegularExpression(u"^(\\d+) artigos"_s)
                            .match(QString::fromUtf8(run.out))
                            .captured(1)
                            .toInt();
    QCOMPARE(QDir(at(u"out"_s)).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList{u"lumera.zim"_s});

    // A free port of this machine's loopback, and a server that ends with the test.
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const QString port = QString::number(probe.serverPort());
    probe.close();
    // Without the bar it puts above every page: the pages are the file's alone.
    kiwix_.start(u"kiwix-serve"_s, {u"--nosearchbar"_s, u"--address"_s, u"127.0.0.1"_s, u"--port"_s,
                                    port, u"--attachToProcess"_s,
                                    QString::number(QCoreApplication::applicationPid()), zim_});
    QVERIFY2(kiwix_.waitForStarted(), "kiwix-serve (kiwix-tools) is needed");
    server_ = u"http://127.0.0.1:"_s + port;
    QTRY_VERIFY_WITH_TIMEOUT(get(served(u"/"_s)).status == 200, 10000);
}

void ZimExportTest::cleanupTestCase() {
    kiwix_.terminate();
    kiwix_.waitForFinished();
}

Fetched ZimExportTest::get(const QUrl& url) {
    QNetworkReply* reply = network_.get(QNetworkRequest(url));
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    Fetched fetched{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                    reply->header(QNetworkRequest::ContentTypeHeader).toString(), reply->readAll(),
                    reply->url()};
    reply->deleteLater();
    return fetched;
}

// Every check but the one of links to the web, which the CD's pages may make.
void ZimExportTest::zimcheckPassesEveryCheck() {
    QProcess zimcheck;
    zimcheck.start(u"zimcheck"_s, {u"-0"_s, u"-C"_s, u"-I"_s, u"-M"_s, u"-F"_s, u"-P"_s, u"-R"_s,
                                   u"-U"_s, u"-L"_s, u"-D"_s, zim_});
    QVERIFY2(zimcheck.waitForFinished(60000), "zimcheck (zim-tools) is needed");
    const QByteArray report = zimcheck.readAllStandardOutput() + zimcheck.readAllStandardError();
    QVERIFY2(zimcheck.exitCode() == 0 && report.contains("Overall Test Status: Pass"),
             report.constData());
}

void ZimExportTest::kiwixServeShowsWhatTheReaderShows() {
    const QString book = u"/lumera/"_s;
    const Fetched home = get(served(book));
    QCOMPARE(home.status, 200);

    // Clicks from the home page or from the page the row before reached: the
    // page the served link leads to is titled as the reader titles the address.
    const struct {
        bool fromHome;
        const char* text;
        const char* address;
    } clicks[] = {
        {true, "Geografia", "D:\\lex2000\\v1.htm"},             // a section page, redirected
        {false, "Brasil", "D:\\lex2000\\tomo98a\\brasil.htm"},  // an article key
        {false, "Bandeira do Brasil", "D:\\LEX2000\\BANDEIRAS\\BAND-BRASIL.htm"},  // see-also
        {true, "Linha do tempo", "D:\\lex2000\\timeline\\main.htm"},               // restarted
        {false, "Abrir a linha do tempo", "D:\\lex2000\\timeline\\timeline.htm"},
        {true, "Atlas do Universo", "D:\\lex2000\\atlast\\main.htm"},
        {true, "Copo d'água", "D:\\lex2000\\tomo98c\\copo-dagua.htm"},
        {true, "Testes", "D:\\lex2000\\TESTES.HTM"},
        {false, "curto", "D:\\LEX2000\\BANDEI~1\\BAND-B~1.HTM"},  // an 8.3 name
        {true, "Testes", "D:\\lex2000\\TESTES.HTM"},
        {false, "barras", "D:\\lex2000\\FOTOS\\Gota.htm#foto"},
        {true, "Testes", "D:\\lex2000\\TESTES.HTM"},
        {false, "raiz", "D:\\lex2000\\MAPAS\\mapa-brasil.htm"},
        {true, "Testes", "D:\\lex2000\\TESTES.HTM"},
        {false, "maiusculas", "D:\\lex2000\\TOMO98C\\FADO.HTM"},  // a key in capitals
    };
    QStringList addresses;
    QStringList servedTitles;
    Fetched page = home;
    Fetched article;
    for (const auto& click : clicks) {
        if (click.fromHome) page = home;
        const QString href = linkByText(page.html(), QString::fromUtf8(click.text));
        QVERIFY2(!href.isEmpty(), click.text);
        page = get(page.url.resolved(QUrl(href)));
        QVERIFY2(page.status == 200, click.address);
        if (QByteArrayView(click.text) == "Brasil") article = page;
        addresses.append(QString::fromUtf8(click.address));
        servedTitles.append(u"Title "_s + titleOf(page.html()));
    }
    const ToolRun reader = cli(QStringList{u"open"_s} + addresses);
    QCOMPARE(reader.lines().filter(u"Title "_s), servedTitles);
    // Every picture of an article is shown, those named from the CD's root too.
    QCOMPARE(article.html().count(QRegularExpression(u"<img\\s[^>]*src="_s)),
             article.html().count(u"<img "_s));
    // What the reader cannot follow is no link at all.
    for (const char* nowhere : {"arquivo", "nada"}) {
        QVERIFY(linkByText(get(served(book + u"lex2000/testes.htm"_s)).html(),
                           QString::fromUtf8(nowhere))
                    .isEmpty());
    }

    // Title suggestions and the full-text search of libzim. Debian 12's
    // kiwix-serve folds accents in the index only: the export gives each
    // accented word in both forms, so that both queries find the page.
    const QString articlePath = article.url.path().mid(book.size());
    const QString title = HtmlText::plainText(
        QRegularExpression(u"<h1>(.*?)</h1>"_s).match(article.html()).captured(1));
    const QJsonArray suggestions =
        QJsonDocument::fromJson(
            get(served(u"/suggest?content=lumera&term="_s + title.left(4))).body)
            .array();
    QVERIFY(std::any_of(suggestions.begin(), suggestions.end(), [&](const QJsonValue& s) {
        return s[u"path"_s].toString() == articlePath && s[u"value"_s].toString() == title;
    }));
    QStringList accented;
    const QString text = HtmlText::plainText(article.html().mid(article.html().indexOf(u"<h1>"_s)));
    forEachWord(text, [&](QStringView word, qsizetype, qsizetype) {
        if (word.size() > 5 && foldForSearch(word) != word.toString().toLower())
            accented.append(word.toString());
    });
    QVERIFY(accented.size() >= 3);
    for (const QString& word : accented.mid(0, 3)) {
        for (const QString& query : {foldForSearch(word), word}) {
            const Fetched found =
                get(served(u"/search?content=lumera&pageLength=500&pattern="_s + query));
            QVERIFY2(found.html().contains(u"href=\""_s + book + articlePath + u'"'),
                     qPrintable(query));
        }
    }

    // Every page reachable from the home page, and what each shows or links to.
    QSet<QString> seen{home.url.path()};
    QQueue<Fetched> pages{{home}};
    QStringList broken;
    int articles = 0;
    while (!pages.isEmpty()) {
        const Fetched from = pages.dequeue();
        for (const QString& value : references(from.html())) {
            if (value.startsWith(u'#') || value == u"javascript:history.back()"_s) continue;
            const QUrl target = from.url.resolved(QUrl(value)).adjusted(QUrl::RemoveFragment);
            // A drive, a file: address or the reader's scheme would be broken here;
            // a web site is left to the reader of the file.
            if (!target.scheme().startsWith(u"http"_s)) broken.append(value);
            if (target.host() != from.url.host() || seen.contains(target.path())) continue;
            seen.insert(target.path());
            const Fetched fetched = get(target);
            if (fetched.status != 200) broken.append(target.path());
            if (fetched.type.startsWith(u"text/html"_s)) pages.enqueue(fetched);
            if (target.path().section(u'/', 0, -2) == article.url.path().section(u'/', 0, -2))
                ++articles;
        }
    }
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(u", "_s)));
    qInfo("crawled %lld addresses, %d of them article pages", qlonglong(seen.size()), articles);
    QCOMPARE(articles, exportedArticles_);
}

// The same CD as a disc image: the same entries, named as the image names them.
void ZimExportTest::discImageGivesTheSameEntries() {
    QVERIFY(makeDiscImage(at(u"cd"_s), at(u"cd.iso"_s), {u"-J"_s, u"-R"_s}));
    const ToolRun run = cli({u"export"_s, u"--zim"_s, at(u"imagem.zim"_s)}, u"cd.iso"_s);
    QVERIFY2(run.exitCode == 0, run.err.constData());
    const auto entries = [](const QString& zim) {
        QProcess dump;
        dump.start(u"zimdump"_s, {u"list"_s, zim});
        dump.waitForFinished();
        return dump.readAllStandardOutput();
    };
    QVERIFY(entries(zim_).count('\n') > 200);
    QCOMPARE(entries(at(u"imagem.zim"_s)), entries(zim_));
}

// Ctrl+C once the last stage has begun: the file from before stays as it was,
// and nothing else is left beside it.
void ZimExportTest::stoppedExportLeavesTheEarlierFile() {
    const QByteArray before = hashOf(zim_);
    QProcess run;
    run.setReadChannel(QProcess::StandardError);
    run.start(qEnvironmentVariable("LUMERA_BUILD_DIR") + u"/tools/lumera-cli/lumera-cli"_s,
              {u"-C"_s, at(u"lex"_s), u"--drive"_s, u"D:="_s + at(u"cd"_s), u"export"_s, u"--zim"_s,
               zim_});
    QByteArray said;
    while (!said.contains("Concluindo") && run.waitForReadyRead(60000)) {
        said += run.readAllStandardError();
    }
    QVERIFY2(said.contains("Concluindo"), said.constData());
    ::kill(pid_t(run.processId()), SIGINT);
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitCode(), 130);
    QCOMPARE(hashOf(zim_), before);
    QCOMPARE(QDir(at(u"out"_s)).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList{u"lumera.zim"_s});
}

QTEST_GUILESS_MAIN(ZimExportTest)
#include "test_zim_export.moc"
