// The indexer end to end: lex.ini, a real Jet or SQLite lex.mdb, the CD tree,
// and searches through the engine over the index it installs.

#include <sqlite3.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "ArticleIndexer.h"
#include "PageFolders.h"
#include "ProgressBar.h"
#include "SearchTestSupport.h"
#include "platform/DriveMap.h"
#include "platform/XapianSearchEngine.h"
#include "support/FileBytes.h"

using namespace lumera;
using namespace lumera::testing;

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run runIndexer(const QStringList& arguments) {
    QProcess process;
    process.setProgram(qEnvironmentVariable("LUMERA_BUILD_DIR") +
                       QStringLiteral("/tools/lumera-index/lumera-index"));
    process.setArguments(arguments);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("LUMERA_DRIVES"));
    process.setProcessEnvironment(environment);
    process.start();
    if (!process.waitForFinished(120000)) qFatal("lumera-index did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
}

// A lex.mdb in SQLite without a Tomo column, rows in the given order.
void writeSqliteArticles(const QString& path, const QList<QStringList>& rows) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, "CREATE TABLE DatabaseV (Arquivo TEXT, Titulo TEXT, Verbete TEXT)",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    sqlite3_stmt* insert = nullptr;
    QCOMPARE(sqlite3_prepare_v2(db, "INSERT INTO DatabaseV VALUES (?, ?, ?)", -1, &insert, nullptr),
             SQLITE_OK);
    for (const QStringList& row : rows) {
        for (int i = 0; i < 3; ++i) {
            const QByteArray text = row[i].toUtf8();
            sqlite3_bind_text(insert, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
        QCOMPARE(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_close(db);
}

QString article(const QString& title, const QString& body) {
    return QStringLiteral(
               "<html>\r\n<head>\r\n<title>%1</title>\r\n</head>\r\n<body>\r\n"
               "<p><b>%1</b></p>\r\n<p>%2</p>\r\n</BODY></HTML>")
        .arg(title, body);
}

}  // namespace

class TestLumeraIndex : public QObject {
    Q_OBJECT

  private:
    // A working folder with lex.ini, the installation and a CD tree.
    struct Setup {
        QTemporaryDir root;
        QString install() const { return root.filePath(QStringLiteral("inst")); }
        QString cd() const { return root.filePath(QStringLiteral("cd")); }
    };

    static void prepare(Setup& setup, const QByteArray& iniText) {
        QVERIFY(setup.root.isValid());
        QVERIFY(QDir(setup.root.path()).mkpath(QStringLiteral("inst")));
        QVERIFY(QDir(setup.root.path()).mkpath(QStringLiteral("cd/lex2000")));
        writeFile(setup.root.filePath(QStringLiteral("lex.ini")), iniText);
    }
    static void copyJetFixture(const Setup& setup) {
        QVERIFY(QFile::copy(
            qEnvironmentVariable("LUMERA_TEST_DATA") + QStringLiteral("/jet/lex-jet4.mdb"),
            setup.install() + QStringLiteral("/lex.mdb")));
    }
    static QByteArray posixIni(const Setup& setup) {
        return "PATH=" + setup.install().toUtf8() + "/\r\nCDROM=D:\r\n";
    }
    static std::shared_ptr<ResultList> search(const QString& installPath, const QString& request,
                                              const ProgramPathResolver& resolver = {}) {
        XapianSearchEngineFactory factory =
            resolver ? XapianSearchEngineFactory(resolver) : XapianSearchEngineFactory();
        const auto job = factory.create()->NewSearchJob();
        runLikeTheProgram(*job, request, installPath, nullptr);
        return job->Results();
    }
    static QStringList details(ResultList& results) {
        QStringList found;
        for (int i = 0; i < results.Count(); ++i) {
            results.GetNthDoc(i);
            found << results.DocDetailItem(QStringLiteral("_shortname")) + u'|' +
                         results.DocDetailItem(QStringLiteral("_filename"));
        }
        found.sort();
        return found;
    }

  private Q_SLOTS:
    void indexesTheJetDatabase() {
        Setup setup;
        prepare(setup, posixIni(setup));
        copyJetFixture(setup);
        const Run run = runIndexer({QStringLiteral("-C"), setup.root.path(),
                                    QStringLiteral("--drive"), QStringLiteral("D:=") + setup.cd()});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString());  // not a terminal: no progress bar
        QVERIFY2(run.out.startsWith(QStringLiteral(
                     "16 artigos indexados (1 linha com chave repetida ignorada) em ")),
                 qPrintable(run.out));
        QCOMPARE(readBytes(setup.install() + QStringLiteral("/search.lst")),
                 QByteArray("indice\n"));

        const QString installPath = setup.install() + u'/';
        // The folder comes from the Tomo column; titles are those the pages show.
        QCOMPARE(details(*search(installPath, QStringLiteral("istambul"))),
                 QStringList{"Istambul|C:\\lex\\tomo98b\\istambul.htm"});
        QCOMPARE(details(*search(installPath, QStringLiteral("\"copo d'água\""))),
                 QStringList{"Copo dágua|C:\\lex\\tomo98a\\copo.htm"});
        // A title line with markup lists as the page shows it.
        QVERIFY(details(*search(installPath, QStringLiteral("lisboa")))
                    .contains(QStringLiteral("Lisboa|C:\\lex\\tomo98b\\lisboa.htm")));
        // No title line: the stored title stands in for the empty one.
        QCOMPARE(details(*search(installPath, QStringLiteral("jabuticaba"))),
                 QStringList{"Tupi|C:\\lex\\tomo98c\\tupi.htm"});
        // The first row of a repeated key is the one indexed.
        QCOMPARE(search(installPath, QStringLiteral("dobro"))->Count(), 1);
        QCOMPARE(search(installPath, QStringLiteral("compasso"))->Count(), 0);
        // Text of a memo spread over many pages, and characters beyond Latin-1.
        QVERIFY(search(installPath, QStringLiteral("\"história do brasil\""))->Count() >= 1);
        QCOMPARE(details(*search(installPath, QStringLiteral("ohm"))),
                 QStringList{"Ohm|C:\\lex\\tomo98c\\ohm.htm"});
    }

    void windowsInstallPathThroughADrive() {
        Setup setup;
        prepare(setup, "PATH=C:\\LEX\\\r\nCDROM=D:\r\n");
        copyJetFixture(setup);
        const Run run =
            runIndexer({QStringLiteral("-C"), setup.root.path(), QStringLiteral("--drive"),
                        QStringLiteral("C:=") + setup.root.path(),
                        QStringLiteral("--drive=D:=") + setup.cd()});
        // "C:\LEX\" finds the folder "inst" only if it is named so.
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(QStringLiteral("lex.mdb não foi encontrada")),
                 qPrintable(run.err));

        QVERIFY(QDir(setup.root.path()).rename(QStringLiteral("inst"), QStringLiteral("lex")));
        const Run second =
            runIndexer({QStringLiteral("-C"), setup.root.path(), QStringLiteral("--drive"),
                        QStringLiteral("C:=") + setup.root.path(),
                        QStringLiteral("--drive=D:=") + setup.cd()});
        QCOMPARE(second.status, 0);
        DriveMap drives;
        QVERIFY(drives.map(u'C', setup.root.path()));
        const auto results =
            search(QStringLiteral("C:\\lex\\"), QStringLiteral("istambul"),
                   [&drives](const QString& path) { return drives.existingFile(path); });
        QCOMPARE(results->Count(), 1);
    }

    void folderFromTheCdTreeWithoutTomoColumn() {
        Setup setup;
        prepare(setup, posixIni(setup));
        for (const char* folder : {"tomo98a", "tomo98b", "tomo98c", "atlas"}) {
            QVERIFY(QDir(setup.cd()).mkpath(QStringLiteral("lex2000/") + QLatin1String(folder)));
        }
        const QString lex2000 = setup.cd() + QStringLiteral("/lex2000/");
        writeFile(lex2000 + QStringLiteral("tomo98c/Sertao.HTM"), "");
        writeFile(lex2000 + QStringLiteral("atlas/mapa.htm"), "");
        writeFile(lex2000 + QStringLiteral("atlas/serra.htm"), "");
        writeFile(lex2000 + QStringLiteral("tomo98b/serra.htm"), "");
        writeSqliteArticles(setup.install() + QStringLiteral("/lex.mdb"),
                            {{"sertao.htm", "Sertão", article("Sertão", "Caatinga e seca.")},
                             {"mapa.htm", "Mapa", article("Mapa", "Caatinga desenhada.")},
                             {"serra.htm", "Serra", article("Serra", "Caatinga na serra.")},
                             {"lagoa.htm", "Lagoa", article("Lagoa", "Caatinga alagada.")}});
        const Run run = runIndexer({QStringLiteral("-C"), setup.root.path(),
                                    QStringLiteral("--drive"), QStringLiteral("D:=") + setup.cd()});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.startsWith(QStringLiteral("4 artigos indexados em ")),
                 qPrintable(run.out));
        QCOMPARE(run.err, QString("lumera-index: aviso: 1 artigo sem página conhecida no CD ficou "
                                  "na pasta tomo98a.\n"));
        QCOMPARE(details(*search(setup.install() + u'/', QStringLiteral("caatinga"))),
                 (QStringList{"Lagoa|C:\\lex\\tomo98a\\lagoa.htm", "Mapa|C:\\lex\\atlas\\mapa.htm",
                              "Serra|C:\\lex\\tomo98b\\serra.htm",
                              "Sertão|C:\\lex\\tomo98c\\sertao.htm"}));
    }

    void failureKeepsThePreviousIndex() {
        Setup setup;
        prepare(setup, posixIni(setup));
        copyJetFixture(setup);
        QCOMPARE(runIndexer({QStringLiteral("-C"), setup.root.path()}).status, 0);
        const QByteArray list = readBytes(setup.install() + QStringLiteral("/search.lst"));

        // The database becomes unreadable: the run fails and changes nothing.
        writeFile(setup.install() + QStringLiteral("/lex.mdb"), QByteArray(4096, 'x'));
        const Run run = runIndexer({QStringLiteral("-C"), setup.root.path()});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(QStringLiteral("o índice não foi alterado")),
                 qPrintable(run.err));
        QCOMPARE(readBytes(setup.install() + QStringLiteral("/search.lst")), list);
        QCOMPARE(search(setup.install() + u'/', QStringLiteral("istambul"))->Count(), 1);
        QCOMPARE(
            QDir(setup.install()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            (QStringList{"indice", "lex.mdb", "search.lst"}));
    }

    void commandLineAndSetupProblems_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("ini");  // empty: no lex.ini
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("help") << QStringList{"--help"} << QByteArray() << 0 << "";
        QTest::newRow("unknown argument")
            << QStringList{"indice"} << QByteArray() << 2 << "argumento inesperado: indice";
        QTest::newRow("option without value")
            << QStringList{"--drive"} << QByteArray() << 2 << "precisa de um valor";
        QTest::newRow("no lex.ini")
            << QStringList{} << QByteArray() << 1 << "lex.ini não foi encontrado";
        QTest::newRow("no database") << QStringList{} << QByteArray("PATH=/nenhuma/pasta/\r\n") << 1
                                     << "lex.mdb não foi encontrada";
    }
    void commandLineAndSetupProblems() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, ini);
        QFETCH(int, status);
        QFETCH(QString, message);
        QTemporaryDir dir;
        if (!ini.isEmpty()) writeFile(dir.filePath(QStringLiteral("lex.ini")), ini);
        const Run run = runIndexer(QStringList{QStringLiteral("-C"), dir.path()} + arguments);
        QCOMPARE(run.status, status);
        if (status == 0) {
            QVERIFY(run.out.startsWith(QStringLiteral("Uso: lumera-index")));
        } else {
            QVERIFY2(run.err.contains(message), qPrintable(run.err));
        }
    }

    void pageFoldersPreferTheArticleFolders() {
        QTemporaryDir dir;
        for (const char* folder : {"aaa", "tomo98c", "tomo98a"}) {
            QVERIFY(QDir(dir.path()).mkpath(QLatin1String(folder)));
        }
        writeFile(dir.filePath(QStringLiteral("aaa/x.htm")), "");
        writeFile(dir.filePath(QStringLiteral("tomo98c/x.htm")), "");
        writeFile(dir.filePath(QStringLiteral("tomo98c/Y.HTM")), "");
        writeFile(dir.filePath(QStringLiteral("tomo98a/y.htm")), "");
        writeFile(dir.filePath(QStringLiteral("aaa/z.htm")), "");
        const PageFolders pages = PageFolders::scan(dir.path());
        QCOMPARE(pages.folderOf(QStringLiteral("X.htm")), QString("tomo98c"));
        QCOMPARE(pages.folderOf(QStringLiteral("y.htm")), QString("tomo98a"));
        QCOMPARE(pages.folderOf(QStringLiteral("z.htm")), QString("aaa"));
        QCOMPARE(pages.folderOf(QStringLiteral("w.htm")), QString());
        QCOMPARE(PageFolders::scan(QString()).pageCount(), 0);
    }

    void progressLine_data() {
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("total");
        QTest::addColumn<qint64>("elapsedMs");
        QTest::addColumn<QString>("line");
        QTest::newRow("a quarter")
            << 250 << 1000 << qint64(5000)
            << "[#######-----------------------] 250/1000 artigos  50 por segundo  faltam 0:15";
        QTest::newRow("hours left") << 1 << 100000 << qint64(1000)
                                    << "[------------------------------] 1/100000 artigos  1 por "
                                       "segundo  faltam 27:46:39";
        QTest::newRow("done") << 10 << 10 << qint64(2000)
                              << "[##############################] 10/10 artigos  5 por segundo";
        QTest::newRow("total unknown") << 30 << 0 << qint64(3000) << "30 artigos  10 por segundo";
    }
    void progressLine() {
        QFETCH(int, done);
        QFETCH(int, total);
        QFETCH(qint64, elapsedMs);
        QFETCH(QString, line);
        QCOMPARE(ProgressBar::line(done, total, elapsedMs), line);
    }
};

QTEST_GUILESS_MAIN(TestLumeraIndex)
#include "test_lumera_index.moc"
