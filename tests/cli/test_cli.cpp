// lumera-cli run as a user runs it: lex.ini, the router, article pages built
// from the real Jet fixtures, and the search window on a real full-text index.
#include <QTest>

#include "host/Windows1252.h"
#include "platform/IndexBuilder.h"
#include "platform/XapianIndexList.h"
#include "support/ToolRunner.h"

using namespace lumera;
using namespace lumera::testing;
using namespace Qt::StringLiterals;

namespace {

// "<ItemData> <text>" lines of one list ("FoundList", "List1"...), word dropped.
QStringList listed(const ToolRun& run, const QString& list) {
    QStringList found;
    for (const QString& line : run.lines()) {
        if (line.startsWith(list + u' ')) found << line.mid(list.size() + 1);
    }
    return found;
}

QStringList textsOf(const QStringList& taggedLines) {
    QStringList texts;
    for (const QString& line : taggedLines) texts << line.section(u' ', 1);
    return texts;
}

}  // namespace

class CliTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void pageFromJet();
    void pageMediaAndFailures();
    void searchLookup();
    void searchFolderAndOpen();
    void searchFailures();

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
    QVERIFY(jet_.useDatabase(u"jet/lex-jet4-2003.mdb"_s));
    QCOMPARE(pageRun(u"ohm.htm"_s).exitCode, 0);
    QVERIFY(readBytes(jet_.file(u"vf.htm"_s)).contains("&#937;"));
    QVERIFY(jet_.useDatabase(u"jet/lex-jet4.mdb"_s));
}

void CliTest::searchLookup() {
    const ToolRun run = search({u"jacaranda"_s});
    QCOMPARE(run.exitCode, 0);
    const QStringList titles = listed(run, u"FoundList"_s);
    const QStringList files = listed(run, u"List1"_s);
    const QStringList folders = listed(run, u"List2"_s);
    const auto tag = [](const QString& line) { return line.section(u' ', 0, 0).toInt(); };
    const auto text = [](const QString& line) { return line.section(u' ', 1); };
    // List1 is in the engine's order, each tag its own position; the tag of a
    // title or a folder names its article's entry there.
    for (int i = 0; i < files.size(); ++i) QCOMPARE(tag(files[i]), i);
    QStringList viaTags;
    for (const QString& line : titles) viaTags << text(line) + u'=' + text(files.value(tag(line)));
    QCOMPARE(viaTags, (QStringList{"Água=agua.htm", "Brasil=brasil.htm", "Fantasma=fantasma.htm",
                                   "Portugal=portugal.htm"}));
    viaTags.clear();
    for (const QString& line : folders) viaTags << text(line) + u'=' + text(files.value(tag(line)));
    viaTags.sort();  // of one folder, in the engine's order
    QCOMPARE(viaTags, (QStringList{"tomo98a=agua.htm", "tomo98a=brasil.htm", "tomo98b=portugal.htm",
                                   "tomo98c=fantasma.htm"}));
    QCOMPARE(textsOf(folders), (QStringList{"tomo98a", "tomo98a", "tomo98b", "tomo98c"}));
    QCOMPARE(listed(run, u"Combo1"_s), (QStringList{"*.*", "tomo98a", "tomo98b", "tomo98c"}));
    // The window's state in its order and nothing else.
    QCOMPARE(run.lines().size(), 4 + 4 + 4 + 4 + 1);
    QVERIFY(run.lines().first().startsWith(u"FoundList "_s));
    QCOMPARE(run.lines().last(), u"Label2  4 verbetes encontrados"_s);

    const ToolRun none = search({u"inexistente"_s});
    QCOMPARE(none.exitCode, 0);
    QCOMPARE(none.lines(), (QStringList{"Message Lumera Edição 2002|Verbete não encontrado!",
                                        "Combo1 *.*", "Label2 "}));
}

void CliTest::searchFolderAndOpen() {
    QFile::remove(searched_.file(u"vf.htm"_s));
    const ToolRun opened = search({u"jacaranda"_s, u"--open"_s, u"1"_s});  // Brasil
    QCOMPARE(opened.exitCode, 0);
    QCOMPARE(opened.lines().filter(u"Navigate"_s),
             QStringList{u"Navigate "_s + searched_.file(u"vf.htm"_s)});
    QVERIFY(readBytes(searched_.file(u"vf.htm"_s)).contains("Brasil"));
    const ToolRun filtered =
        search({u"jacaranda"_s, u"--folder"_s, u"tomo98b"_s, u"--open"_s, u"0"_s});
    QCOMPARE(filtered.exitCode, 0);
    QCOMPARE(listed(filtered, u"FoundList"_s), QStringList{u"0 Portugal"_s});
    QCOMPARE(filtered.lines().filter(u"Navigate"_s).size(), 1);
    QVERIFY(readBytes(searched_.file(u"vf.htm"_s)).contains("Portugal"));
}

void CliTest::searchFailures() {
    // An indexed article that the database lacks; a row beyond the list.
    const ToolRun missing = search({u"jacaranda"_s, u"--open"_s, u"2"_s});
    QCOMPARE(missing.exitCode, 1);
    QVERIFY(missing.err.contains("fantasma.htm"));
    QVERIFY(missing.lines().filter(u"Navigate"_s).isEmpty());
    const ToolRun beyond = search({u"jacaranda"_s, u"--open"_s, u"4"_s});
    QCOMPARE(beyond.exitCode, 1);
    QVERIFY(beyond.err.contains("--open"));

    // An edition whose index is gone: said, and not taken for "not found".
    const Edition noIndex(u"jet/lex-jet4.mdb"_s);
    QVERIFY(QFile::copy(searched_.file(u"search.lst"_s), noIndex.file(u"search.lst"_s)));
    const ToolRun unusable = search({u"jacaranda"_s}, &noIndex);
    QCOMPARE(unusable.exitCode, 1);
    QVERIFY2(unusable.err.contains("índice de pesquisa"), unusable.err.constData());
    QVERIFY(unusable.lines().first().startsWith(u"Message Lumera Edição 2002|Não foi possível"_s));

    QTemporaryDir nowhere;
    const ToolRun noEdition =
        runTool(u"lumera-cli"_s, {u"-C"_s, nowhere.path(), u"search"_s, u"jacaranda"_s});
    QCOMPARE(noEdition.exitCode, 1);
    QVERIFY(noEdition.out.isEmpty());
    QVERIFY(noEdition.err.contains("lex.ini"));
}

QTEST_GUILESS_MAIN(CliTest)
#include "test_cli.moc"
