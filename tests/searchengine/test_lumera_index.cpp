// The indexer end to end: lex.ini, a real Jet or SQLite lex.mdb, the CD tree,
// and searches through the engine over the index it installs.
#include <QTemporaryDir>
#include <QtTest>

#include "SearchTestSupport.h"
#include "media/DriveMap.h"
#include "searchengine/XapianSearchEngine.h"
#include "support/DatabaseFixtures.h"
#include "support/ToolRunner.h"

using namespace lumera;
using namespace lumera::testing;
using namespace Qt::StringLiterals;

namespace {

// A working folder with lex.ini, the installation inst/ and a CD tree cd/.
struct Setup {
    explicit Setup(const QByteArray& ini = QByteArray()) {
        QDir(root.path()).mkpath(u"inst"_s);
        QDir(root.path()).mkpath(u"cd/lex2000"_s);
        writeBytes(root.filePath(u"lex.ini"_s),
                   ini.isEmpty() ? "PATH=" + install().toUtf8() + "/\r\nCDROM=D:\r\n" : ini);
    }
    QString install() const { return root.filePath(u"inst"_s); }
    QString cd() const { return root.filePath(u"cd"_s); }
    bool copyJet() const {
        return QFile::copy(testData(u"jet/lex-jet4.mdb"_s), install() + u"/lex.mdb"_s);
    }
    ToolRun index(const QStringList& arguments = {}) const {
        return runTool(
            u"lumera-index"_s,
            QStringList{u"-C"_s, root.path(), u"--drive"_s, u"D:="_s + cd()} + arguments);
    }
    QTemporaryDir root;
};

// "title|path" of every document found, sorted.
QStringList found(const QString& installPath, const QString& request,
                  const ProgramPathResolver& resolver = {}) {
    const auto job = (resolver ? XapianSearchEngineFactory(resolver) : XapianSearchEngineFactory())
                         .create()
                         ->NewSearchJob();
    runLikeTheProgram(job, request, installPath, nullptr);
    QStringList documents;
    for (int i = 0; i < job->Results()->Count(); ++i) {
        job->Results()->GetNthDoc(i);
        documents << job->Results()->DocDetailItem(u"_shortname"_s) + u'|' +
                         job->Results()->DocDetailItem(u"_filename"_s);
    }
    documents.sort();
    return documents;
}

QString article(const QString& title, const QString& body) {
    return u"<html>\r\n<head>\r\n<title>%1</title>\r\n</head>\r\n<body>\r\n<p><b>%1</b></p>\r\n<p>%2</p>\r\n</BODY></HTML>"_s
        .arg(title, body);
}

}  // namespace

class TestLumeraIndex : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void indexesTheJetDatabase_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("one slice per core") << QStringList();
        // Every row a slice of its own: the repeated key's rows in two.
        QTest::newRow("17 slices") << QStringList{u"--threads"_s, u"17"_s};
    }
    void indexesTheJetDatabase() {
        QFETCH(QStringList, arguments);
        Setup setup;
        QVERIFY(setup.copyJet());
        const ToolRun run = setup.index(arguments);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QByteArray());  // not a terminal: no progress bar
        QVERIFY2(
            run.out.startsWith("16 artigos indexados (1 linha com chave repetida ignorada) em "),
            run.out.constData());
        QCOMPARE(readBytes(setup.install() + u"/search.lst"_s), QByteArray("indice\n"));

        const QString installPath = setup.install() + u'/';
        // The folder comes from the Tomo column; titles are those the pages
        // show, but for their apostrophes, which the list keeps.
        const struct {
            QString request;
            QStringList found;
        } rows[] = {
            {u"istambul"_s, {"Istambul|C:\\lex\\tomo98b\\istambul.htm"}},
            {u"\"copo d'água\""_s, {"Copo d'água|C:\\lex\\tomo98a\\copo.htm"}},
            {u"jabuticaba"_s,
             {"Tupi|C:\\lex\\tomo98c\\tupi.htm"}},          // no title line: the stored title
            {u"ohm"_s, {"Ohm|C:\\lex\\tomo98c\\ohm.htm"}},  // beyond Latin-1
            {u"compasso"_s, {}},                            // the second row of a repeated key
        };
        for (const auto& row : rows) QCOMPARE(found(installPath, row.request), row.found);
        QVERIFY(found(installPath, u"lisboa"_s).contains(u"Lisboa|C:\\lex\\tomo98b\\lisboa.htm"_s));
        QCOMPARE(found(installPath, u"dobro"_s).size(), 1);
        // Text of a memo spread over many pages.
        QVERIFY(!found(installPath, u"\"história do brasil\""_s).isEmpty());
    }

    void windowsInstallPathThroughADrive() {
        Setup setup("PATH=C:\\LEX\\\r\nCDROM=D:\r\n");
        QVERIFY(setup.copyJet());
        // "C:\LEX\" finds the folder "inst" only if it is named so.
        const ToolRun run = setup.index({u"--drive=C:="_s + setup.root.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("lex.mdb não foi encontrada"), run.err.constData());
        QVERIFY(QDir(setup.root.path()).rename(u"inst"_s, u"lex"_s));
        QCOMPARE(setup.index({u"--drive=C:="_s + setup.root.path()}).exitCode, 0);
        DriveMap drives;
        QVERIFY(drives.map(u'C', setup.root.path()));
        QCOMPARE(found(u"C:\\lex\\"_s, u"istambul"_s,
                       [&drives](const QString& path) { return drives.existingFile(path); })
                     .size(),
                 1);
    }

    void folderFromTheCdTreeWithoutTomoColumn() {
        Setup setup;
        for (const QString& page : {u"tomo98c/Sertao.HTM"_s, u"atlas/mapa.htm"_s,
                                    u"atlas/serra.htm"_s, u"tomo98b/serra.htm"_s, u"tomo98a/"_s}) {
            QVERIFY(QDir(setup.cd()).mkpath(QFileInfo(u"lex2000/"_s + page).path()));
            if (!page.endsWith(u'/')) QVERIFY(writeBytes(setup.cd() + u"/lex2000/"_s + page, {}));
        }
        fixtures::executeSql(setup.install() + u"/lex.mdb"_s,
                             u"CREATE TABLE DatabaseV(Arquivo TEXT, Titulo TEXT, Verbete TEXT);"_s);
        fixtures::insertRows(
            setup.install() + u"/lex.mdb"_s, u"DatabaseV"_s,
            {{u"sertao.htm"_s, u"Sertão"_s, article(u"Sertão"_s, u"Caatinga e seca."_s)},
             {u"mapa.htm"_s, u"Mapa"_s, article(u"Mapa"_s, u"Caatinga desenhada."_s)},
             {u"serra.htm"_s, u"Serra"_s, article(u"Serra"_s, u"Caatinga na serra."_s)},
             {u"lagoa.htm"_s, u"Lagoa"_s, article(u"Lagoa"_s, u"Caatinga alagada."_s)}});
        const ToolRun run = setup.index();
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith("4 artigos indexados em "), run.out.constData());
        QCOMPARE(run.err, QByteArray("lumera-index: aviso: 1 artigo sem página conhecida no CD "
                                     "ficou na pasta tomo98a.\n"));
        QCOMPARE(found(setup.install() + u'/', u"caatinga"_s),
                 (QStringList{"Lagoa|C:\\lex\\tomo98a\\lagoa.htm", "Mapa|C:\\lex\\atlas\\mapa.htm",
                              "Serra|C:\\lex\\tomo98b\\serra.htm",
                              "Sertão|C:\\lex\\tomo98c\\sertao.htm"}));
    }

    void failureKeepsThePreviousIndex() {
        Setup setup;
        QVERIFY(setup.copyJet());
        QCOMPARE(setup.index().exitCode, 0);
        const QByteArray list = readBytes(setup.install() + u"/search.lst"_s);
        // The database becomes unreadable: the run fails and changes nothing.
        QVERIFY(writeBytes(setup.install() + u"/lex.mdb"_s, QByteArray(4096, 'x')));
        const ToolRun run = setup.index();
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("o índice não foi alterado"), run.err.constData());
        QCOMPARE(readBytes(setup.install() + u"/search.lst"_s), list);
        QCOMPARE(found(setup.install() + u'/', u"istambul"_s).size(), 1);
        QCOMPARE(
            QDir(setup.install()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            (QStringList{"indice", "lex.chaves", "lex.mdb", "search.lst"}));
    }
};

QTEST_GUILESS_MAIN(TestLumeraIndex)
#include "test_lumera_index.moc"
