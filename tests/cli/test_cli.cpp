// lumera-cli run as a user runs it: article pages built from the real Jet
// fixtures, and the search window on a real full-text index.
#include <QProcess>
#include <QTest>

#include "host/Windows1252.h"
#include "searchengine/IndexBuilder.h"
#include "searchengine/XapianIndexList.h"
#include "support/DiscImages.h"
#include "support/ToolRunner.h"

using namespace lumera;
using namespace lumera::testing;
using namespace Qt::StringLiterals;

class CliTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void pageFromJet();
    void pageMediaAndFailures();
    void searchLookup();
    void searchOpen();
    void searchFailures();
    void setupFromTheMedium();

  private:
    QString page() const { return windows1252::decode(readBytes(jet_.file(u"vf.htm"_s))); }
    ToolRun pageRun(const QString& key) const {
        return jet_.run(u"lumera-cli"_s, {u"--drive"_s, u"D:="_s + jet_.path(), u"page"_s, key});
    }
    ToolRun search(const QStringList& arguments, const Edition* edition = nullptr) const {
        return (edition ? *edition : searched_)
            .run(u"lumera-cli"_s,
                 QStringList{u"--drive"_s, u"D:="_s + cd_.path(), u"search"_s} + arguments);
    }

    Edition jet_{u"jet/lex-jet4.mdb"_s};
    Edition searched_{u"jet/lex-jet4.mdb"_s};
    QTemporaryDir cd_;
};

void CliTest::initTestCase() {
    // Articles of the database and one it lacks (fantasma), all with one word.
    StagedIndex staged(searched_.path());
    QVERIFY2(!staged.buildPath().isEmpty(), qPrintable(staged.error()));
    IndexBuilder builder(staged.buildPath());
    const QList<IndexRecord> records{
        {u"brasil.htm"_s, u"Brasil"_s, u"<p>jacarandá</p>"_s, u"tomo98a"_s},
        {u"portugal.htm"_s, u"Portugal"_s, u"<p>jacarandá</p>"_s, u"tomo98b"_s},
        {u"agua.htm"_s, u"Água"_s, u"<p>jacarandá</p>"_s, u"tomo98a"_s},
        {u"fantasma.htm"_s, u"Fantasma"_s, u"<p>jacarandá</p>"_s, u"tomo98c"_s},
        {u"lisboa.htm"_s, u"Lisboa"_s, u"<p>capital</p>"_s, u"tomo98b"_s},
    };
    for (const IndexRecord& record : records) QVERIFY(builder.add(record));
    builder.finish();
    QVERIFY2(staged.install(), qPrintable(staged.error()));
}

// Pages from the real Jet fixture: a long memo arrives whole, a key in another
// letter case finds its article as Jet did, of a duplicated key the first row
// is the article, a gif beside the body has the CD's image path, and every
// line ends in CR LF.
void CliTest::pageFromJet() {
    const QByteArray shown = "Navigate " + jet_.file(u"vf.htm"_s).toUtf8() + '\n';
    const struct {
        const char* key;
        const char* inPage;
    } rows[] = {
        {"historia-do-brasil.htm", "Fim do verbete História do Brasil."},
        {"RECIFE.HTM", "Lumera Orvel On-Line -Recife"},
        {"duplo.htm", "Primeira versão"},
        {"brasil.htm", "IMG SRC=\"D:/lex2000/tomo98a/Image"},
    };
    for (const auto& row : rows) {
        const ToolRun run = pageRun(QString::fromUtf8(row.key));
        QCOMPARE(run.out, shown);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        QVERIFY2(page().contains(QString::fromUtf8(row.inPage)), row.key);
        const QByteArray bytes = readBytes(jet_.file(u"vf.htm"_s));
        QVERIFY(bytes.endsWith("\r\n") && bytes.count("\n") == bytes.count("\r\n"));
    }
}

void CliTest::pageMediaAndFailures() {
    // Rows 9 and 10 of Brasil are one row: one see-also row and one thumbnail.
    QCOMPARE(pageRun(u"brasil.htm"_s).exitCode, 0);
    QCOMPARE(page().count(u"Floresta Amazônica"_s), 2);

    // Not found, an apostrophe in the key, a Jet 3 file without DatabaseV:
    // the page stays as it was.
    QCOMPARE(pageRun(u"lisboa.htm"_s).exitCode, 0);
    const QByteArray before = readBytes(jet_.file(u"vf.htm"_s));
    for (const QString& key : {u"nada.htm"_s, u"copo d'agua.htm"_s}) {
        const ToolRun missing = pageRun(key);
        QCOMPARE(missing.exitCode, 0);
        QVERIFY(missing.out.isEmpty());
    }
    QVERIFY(jet_.useDatabase(u"jet/jet3-sample.mdb"_s));
    const ToolRun failed = pageRun(u"brasil.htm"_s);
    QCOMPARE(failed.exitCode, 1);
    QVERIFY(failed.out.isEmpty());
    QVERIFY(failed.err.contains("DatabaseV"));
    QCOMPARE(readBytes(jet_.file(u"vf.htm"_s)), before);
    QVERIFY(jet_.useDatabase(u"jet/lex-jet4.mdb"_s));
}

// The window's state in its order and nothing else: List1 in the engine's
// order (equal weights: the order indexed), each tag of FoundList and List2
// its article's place in List1.
void CliTest::searchLookup() {
    const ToolRun run = search({u"jacaranda"_s});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.lines(),
             (QStringList{"FoundList 2 Água", "FoundList 0 Brasil", "FoundList 3 Fantasma",
                          "FoundList 1 Portugal", "List1 0 brasil.htm", "List1 1 portugal.htm",
                          "List1 2 agua.htm", "List1 3 fantasma.htm", "List2 0 tomo98a",
                          "List2 2 tomo98a", "List2 1 tomo98b", "List2 3 tomo98c", "Combo1 *.*",
                          "Combo1 tomo98a", "Combo1 tomo98b", "Combo1 tomo98c",
                          "Label2  4 verbetes encontrados"}));

    const ToolRun none = search({u"inexistente"_s});
    QCOMPARE(none.exitCode, 0);
    QCOMPARE(none.lines(), (QStringList{"Message Lumera Edição 2002|Verbete não encontrado!",
                                        "Combo1 *.*", "Label2 "}));
}

void CliTest::searchOpen() {
    QFile::remove(searched_.file(u"vf.htm"_s));
    const ToolRun opened = search({u"jacaranda"_s, u"--open"_s, u"1"_s});  // Brasil
    QCOMPARE(opened.exitCode, 0);
    QCOMPARE(opened.lines().filter(u"Navigate"_s),
             QStringList{u"Navigate "_s + searched_.file(u"vf.htm"_s)});
    QVERIFY(readBytes(searched_.file(u"vf.htm"_s)).contains("Brasil"));
    const ToolRun filtered =
        search({u"jacaranda"_s, u"--folder"_s, u"tomo98b"_s, u"--open"_s, u"0"_s});
    QCOMPARE(filtered.exitCode, 0);
    QCOMPARE(filtered.lines().filter(u"FoundList"_s), QStringList{u"FoundList 0 Portugal"_s});
    QCOMPARE(filtered.lines().filter(u"Navigate"_s).size(), 1);
    QVERIFY(readBytes(searched_.file(u"vf.htm"_s)).contains("Portugal"));
}

void CliTest::searchFailures() {
    // An indexed article that the database lacks.
    const ToolRun missing = search({u"jacaranda"_s, u"--open"_s, u"2"_s});
    QCOMPARE(missing.exitCode, 1);
    QVERIFY(missing.err.contains("fantasma.htm"));
    QVERIFY(missing.lines().filter(u"Navigate"_s).isEmpty());

    // An edition whose index is gone: said, and not taken for "not found".
    const Edition noIndex(u"jet/lex-jet4.mdb"_s);
    QVERIFY(QFile::copy(searched_.file(u"search.lst"_s), noIndex.file(u"search.lst"_s)));
    const ToolRun unusable = search({u"jacaranda"_s}, &noIndex);
    QCOMPARE(unusable.exitCode, 1);
    QVERIFY2(unusable.err.contains("índice de pesquisa"), unusable.err.constData());
    QVERIFY(unusable.lines().first().startsWith(u"Message Lumera Edição 2002|Não foi possível"_s));
}

// The set-up from the CD as owners keep it: an image with the installer's
// files in a cabinet, a plain ISO 9660 image with 8.3 names, a copied CD
// without them beside the Windows folder; then pages, a picture and a search
// through the saved drive, with no --drive.
void CliTest::setupFromTheMedium() {
    QTemporaryDir work;
    const auto at = [&](const QString& name) { return work.filePath(name); };
    const QString sample = qEnvironmentVariable("LUMERA_BUILD_DIR") + u"/sample"_s;
    const auto run = [](const QString& program, const QStringList& arguments, const QString& in) {
        QProcess process;
        process.setWorkingDirectory(in);
        process.start(program, arguments);
        return process.waitForFinished(60000) && process.exitCode() == 0;
    };
    QVERIFY(run(
        u"cp"_s,
        {u"-r"_s, qEnvironmentVariable("LUMERA_SOURCE_DIR") + u"/content/sample/cd"_s, at(u"cd"_s)},
        {}));
    QVERIFY(QDir().mkpath(at(u"cd/INSTALL"_s)) && QDir().mkpath(at(u"plain/LEX2000"_s)) &&
            QDir().mkpath(at(u"win"_s)));
    QVERIFY(run(u"gcab"_s,
                {u"-cz"_s, at(u"cd/INSTALL/DATA1.CAB"_s), u"lex.mdb"_s, u"modelo-final.htm"_s},
                sample));
    QVERIFY(makeDiscImage(at(u"cd"_s), at(u"cab.iso"_s), {u"-J"_s, u"-R"_s}));
    QVERIFY(QDir(at(u"cd"_s)).rename(u"INSTALL/DATA1.CAB"_s, u"DATA1.TXT"_s));  // a bare copy
    for (const QString& dir : {u"plain/"_s, u"win/"_s}) {
        QVERIFY(QFile::copy(sample + u"/lex.mdb"_s, at(dir + u"LEX.MDB"_s)));
        QVERIFY(QFile::copy(sample + u"/modelo-final.htm"_s, at(dir + u"MODELO~1.HTM"_s)));
    }
    QVERIFY(writeBytes(at(u"plain/LEX2000/JOIA.HTM"_s), "<title>Joia</title>"));
    QVERIFY(makeDiscImage(at(u"plain"_s), at(u"plain.iso"_s), {u"-iso-level"_s, u"1"_s}));
    QVERIFY(writeBytes(at(u"nothing.iso"_s), QByteArray(70000, 'x')));

    const struct {
        QStringList arguments;
        int exitCode;
        QString said;  // in what it prints, or in its messages when it fails
    } rows[] = {
        {{u"--cd"_s, at(u"cab.iso"_s), u"--into"_s, at(u"e1"_s)},
         0,
         u"Database INSTALL\\DATA1.CAB\\lex.mdb"_s},
        {{u"--cd"_s, at(u"cab.iso"_s), u"--into"_s, at(u"e1"_s)}, 1, u"--force"_s},
        {{u"--cd"_s, at(u"cab.iso"_s), u"--into"_s, at(u"e1"_s), u"--force"_s},
         0,
         u"Drive d:="_s + at(u"cab.iso"_s)},
        {{u"--cd"_s, at(u"plain.iso"_s), u"--into"_s, at(u"e2"_s)}, 0, u"Template MODELO~1.HTM"_s},
        {{u"--cd"_s, at(u"cd"_s), u"--into"_s, at(u"e3"_s)}, 1, u"--from"_s},
        {{u"--cd"_s, at(u"cd"_s), u"--from"_s, at(u"win"_s), u"--into"_s, at(u"e3"_s)},
         0,
         u"Database LEX.MDB"_s},
        {{u"--cd"_s, at(u"win"_s), u"--into"_s, at(u"e4"_s)}, 1, u"lex2000"_s},
        {{u"--cd"_s, at(u"nothing.iso"_s), u"--into"_s, at(u"e4"_s)}, 1, u"imagem de disco"_s},
    };
    for (const auto& row : rows) {
        const ToolRun setup = runTool(u"lumera-cli"_s, QStringList{u"setup"_s} + row.arguments);
        const QString said = QString::fromUtf8(setup.exitCode == 0 ? setup.out : setup.err);
        QVERIFY2(setup.exitCode == row.exitCode && said.contains(row.said), qPrintable(said));
    }
    QVERIFY(!QFileInfo::exists(at(u"e4"_s)) && !QFileInfo::exists(at(u"e1.new"_s)));

    const auto cli = [&](const QStringList& arguments) {
        return runTool(u"lumera-cli"_s, QStringList{u"-C"_s, at(u"e1"_s)} + arguments).lines();
    };
    QVERIFY(
        cli({u"page"_s, u"brasil.htm"_s}).contains(u"Navigate "_s + at(u"e1"_s) + u"/vf.htm"_s));
    QVERIFY(!cli({u"search"_s, u"brasil"_s}).filter(u"FoundList 0 "_s).isEmpty());
    const QStringList shown = cli({u"open"_s, u"D:\\LEX2000\\BANDEIRAS\\BAND-BRASIL.htm"_s,
                                   u"D:\\lex2000\\fotos\\caravela.jpg"_s});
    QVERIFY2(shown.contains(u"Title Lumera - Bandeira do Brasil"_s) &&
                 shown.contains(u"Shown D:\\lex2000\\fotos\\caravela.jpg"_s),
             qPrintable(shown.join(u'\n')));
}

QTEST_GUILESS_MAIN(CliTest)
#include "test_cli.moc"
