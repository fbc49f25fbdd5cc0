// Article pages built end to end from the real Jet fixture by lumera-cli.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "host/Windows1252.h"

using namespace lumera;

namespace {

QString testData(const QString& name) {
    return qEnvironmentVariable("LUMERA_TEST_DATA") + u'/' + name;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Run {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

}  // namespace

class PageFromJetTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void everyArticle();
    void mediaOfBrasil();
    void notFoundAndFailuresLeaveThePage();

  private:
    Run page(const QString& key);
    void installDatabase(const QString& fixture);

    QTemporaryDir install_;
    QJsonArray articles_;
};

void PageFromJetTest::initTestCase() {
    QVERIFY(install_.isValid());
    QVERIFY(QFile::copy(testData(QStringLiteral("articles/modelo-final.htm")),
                        install_.filePath(QStringLiteral("modelo-final.htm"))));
    QFile ini(install_.filePath(QStringLiteral("lex.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("PATH=./\r\nCDROM=E:\r\n");
    ini.close();
    installDatabase(QStringLiteral("jet/lex-jet4.mdb"));
    const QJsonDocument json =
        QJsonDocument::fromJson(readAll(testData(QStringLiteral("jet/lex-jet4.json"))));
    articles_ = json.object()
                    .value(QStringLiteral("derived"))
                    .toObject()
                    .value(QStringLiteral("DatabaseV"))
                    .toArray();
    QCOMPARE(articles_.size(), 17);
}

void PageFromJetTest::installDatabase(const QString& fixture) {
    const QString target = install_.filePath(QStringLiteral("lex.mdb"));
    QFile::remove(target);
    QVERIFY(QFile::copy(testData(fixture), target));
}

Run PageFromJetTest::page(const QString& key) {
    QProcess process;
    process.start(
        qEnvironmentVariable("LUMERA_BUILD_DIR") + QStringLiteral("/tools/lumera-cli/lumera-cli"),
        {QStringLiteral("-C"), install_.path(), QStringLiteral("--drive"),
         QStringLiteral("E:=") + install_.path(), QStringLiteral("page"), key});
    if (!process.waitForFinished(60000)) return {-1, {}, {}};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

void PageFromJetTest::everyArticle() {
    for (const QJsonValue& value : articles_) {
        const QJsonObject article = value.toObject();
        const QString key = article.value(QStringLiteral("Arquivo")).toString();
        if (key == u"duplo.htm" && article.value(QStringLiteral("body_before_image_rewrite"))
                                       .toString()
                                       .contains(u"Segunda versão")) {
            continue;  // the second row of a duplicated key is never the article
        }
        const Run run = page(key);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("Navigate ./vf.htm\n"));
        QVERIFY2(run.err.isEmpty(), run.err.constData());

        const QByteArray bytes = readAll(install_.filePath(QStringLiteral("vf.htm")));
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count("\n"), bytes.count("\r\n"));  // every line ends in CR LF
        const QString pageText = windows1252::decode(bytes);

        const QString title = article.value(QStringLiteral("title"))
                                  .toObject()
                                  .value(QStringLiteral("media_title"))
                                  .toString();
        QVERIFY2(bytes.contains(windows1252::encodeWithReferences(
                     QStringLiteral("Lumera Orvel On-Line -") + title)),
                 qPrintable(key));

        QString body = article.value(QStringLiteral("body_before_image_rewrite")).toString();
        if (article.value(QStringLiteral("contains_gif")).toBool()) {
            body.replace(QStringLiteral("IMG SRC=\"Image"),
                         QStringLiteral("IMG SRC=\"E:/lex2000/tomo98a/Image"));
        }
        // The body is in the page as Windows-1252, with references for the rest.
        QVERIFY2(bytes.contains(windows1252::encodeWithReferences(body)), qPrintable(key));
        const bool topLink = pageText.contains(QStringLiteral("<a href='#topo'>Topo</a>"));
        QCOMPARE(topLink, body.size() > 1500);
    }
    // The long memo arrives whole.
    QVERIFY(page(QStringLiteral("historia-do-brasil.htm")).exitCode == 0);
    QVERIFY(readAll(install_.filePath(QStringLiteral("vf.htm")))
                .contains("Fim do verbete Hist\xf3ria do Brasil."));
    // A key in another letter case finds the article, as Jet did.
    QCOMPARE(page(QStringLiteral("RECIFE.HTM")).out, QByteArray("Navigate ./vf.htm\n"));
    QVERIFY(readAll(install_.filePath(QStringLiteral("vf.htm")))
                .contains("Lumera Orvel On-Line -Recife"));
    QCOMPARE(page(QStringLiteral("duplo.htm")).exitCode, 0);
    QVERIFY(windows1252::decode(readAll(install_.filePath(QStringLiteral("vf.htm"))))
                .contains(QStringLiteral("Primeira versão")));
}

void PageFromJetTest::mediaOfBrasil() {
    QCOMPARE(page(QStringLiteral("brasil.htm")).exitCode, 0);
    const QString text = windows1252::decode(readAll(install_.filePath(QStringLiteral("vf.htm"))));
    // Upper-case AFOTO: a thumbnail, no see-also row.
    QCOMPARE(text.count(QStringLiteral("Praia de Copacabana")), 1);
    // Rows 9 and 10 are one row: one see-also row and one thumbnail.
    QCOMPARE(text.count(QStringLiteral("Floresta Amazônica")), 2);
    QVERIFY(text.contains(QStringLiteral("href='E:/LEX2000/FOTOS/BRASIL.htm'")));
    QVERIFY(text.contains(QStringLiteral("src='E:/lex2000/image/tumb/mapa_brasil.GIF'")));
    QVERIFY(text.contains(QStringLiteral("<a href='/procura.asp?\"\"'>")));
    // Copo d'água finds only the row stored under "Copo dágua".
    QCOMPARE(page(QStringLiteral("copo.htm")).exitCode, 0);
    const QString copo = windows1252::decode(readAll(install_.filePath(QStringLiteral("vf.htm"))));
    QVERIFY(copo.contains(QStringLiteral("Copo com água")));
    QVERIFY(!copo.contains(QStringLiteral("Copo de cristal")));
}

void PageFromJetTest::notFoundAndFailuresLeaveThePage() {
    QCOMPARE(page(QStringLiteral("lisboa.htm")).exitCode, 0);
    const QByteArray before = readAll(install_.filePath(QStringLiteral("vf.htm")));
    const Run missing = page(QStringLiteral("nada.htm"));
    QCOMPARE(missing.exitCode, 0);
    QVERIFY(missing.out.isEmpty());
    const Run quote = page(QStringLiteral("copo d'agua.htm"));  // an apostrophe is just looked up
    QCOMPARE(quote.exitCode, 0);
    QVERIFY(quote.out.isEmpty());

    installDatabase(QStringLiteral("jet/jet3-sample.mdb"));  // a Jet 3 file without DatabaseV
    const Run failed = page(QStringLiteral("brasil.htm"));
    QCOMPARE(failed.exitCode, 1);
    QVERIFY(failed.out.isEmpty());
    QVERIFY(failed.err.contains("DatabaseV"));
    QCOMPARE(readAll(install_.filePath(QStringLiteral("vf.htm"))), before);
    installDatabase(QStringLiteral("jet/lex-jet4-2003.mdb"));
    QCOMPARE(page(QStringLiteral("ohm.htm")).out, QByteArray("Navigate ./vf.htm\n"));
    QVERIFY(readAll(install_.filePath(QStringLiteral("vf.htm"))).contains("&#937;"));
    installDatabase(QStringLiteral("jet/lex-jet4.mdb"));
}

QTEST_GUILESS_MAIN(PageFromJetTest)
#include "test_page_from_jet.moc"
