// lumera-cli search, run as a user would run it, on an edition made of the
// test article database and a real full-text index.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "platform/IndexBuilder.h"
#include "platform/XapianIndexList.h"

using namespace lumera;

namespace {

struct CliRun {
    int exitCode = -1;
    QStringList lines;  // stdout
    QString err;
};

// Lines of one kind ("FoundList", "List1"...) without their word.
QStringList linesOf(const CliRun& run, const QString& word) {
    QStringList found;
    for (const QString& line : run.lines) {
        if (line.startsWith(word + u' ')) found << line.mid(word.size() + 1);
    }
    return found;
}

// "<ItemData> <text>" lines as text -> tag.
QList<std::pair<QString, int>> tagged(const QStringList& lines) {
    QList<std::pair<QString, int>> entries;
    for (const QString& line : lines) {
        const qsizetype blank = line.indexOf(u' ');
        entries.append({line.mid(blank + 1), line.left(blank).toInt()});
    }
    return entries;
}

// A lex.ini that installs the edition in folder, with the CD in D:.
void writeLexIni(const QString& folder) {
    QFile ini(QDir(folder).filePath(u"lex.ini"_qs));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("PATH=" + QDir(folder).absolutePath().toUtf8() + "/\r\nCDROM=D:\r\n");
}

}  // namespace

class CliSearchTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void lookup();
    void folder_data();
    void folder();
    void notFound();
    void openArticle();
    void failures();

  private:
    CliRun run(const QStringList& arguments, const QString& directory = QString()) const;

    QTemporaryDir edition_;
    QTemporaryDir cd_;
};

void CliSearchTest::initTestCase() {
    QVERIFY(edition_.isValid() && cd_.isValid());
    const QString data = qEnvironmentVariable("LUMERA_TEST_DATA");
    QVERIFY(QFile::copy(data + u"/jet/lex-jet4.mdb"_qs, edition_.filePath(u"lex.mdb"_qs)));
    QVERIFY(QFile::copy(data + u"/articles/modelo-final.htm"_qs,
                        edition_.filePath(u"modelo-final.htm"_qs)));
    writeLexIni(edition_.path());

    // Articles of the database and one the database lacks, all with one word.
    StagedIndex staged(edition_.path());
    QVERIFY2(!staged.buildPath().isEmpty(), qPrintable(staged.error()));
    IndexBuilder builder(staged.buildPath());
    const QList<IndexRecord> records{
        {u"brasil.htm"_qs, u"Brasil"_qs, u"<p>jacarandá</p>"_qs, u"tomo98a"_qs},
        {u"portugal.htm"_qs, u"Portugal"_qs, u"<p>jacarandá</p>"_qs, u"tomo98b"_qs},
        {u"agua.htm"_qs, u"Água"_qs, u"<p>jacarandá</p>"_qs, u"tomo98a"_qs},
        {u"fantasma.htm"_qs, u"Fantasma"_qs, u"<p>jacarandá</p>"_qs, u"tomo98c"_qs},
        {u"lisboa.htm"_qs, u"Lisboa"_qs, u"<p>capital</p>"_qs, u"tomo98b"_qs},
    };
    for (const IndexRecord& record : records) QVERIFY(builder.add(record));
    builder.finish();
    QVERIFY2(staged.install(), qPrintable(staged.error()));
}

CliRun CliSearchTest::run(const QStringList& arguments, const QString& directory) const {
    QProcess process;
    process.start(qEnvironmentVariable("LUMERA_BUILD_DIR") + u"/tools/lumera-cli/lumera-cli"_qs,
                  QStringList{u"-C"_qs, directory.isEmpty() ? edition_.path() : directory,
                              u"--drive"_qs, u"D:="_qs + cd_.path(), u"search"_qs} +
                      arguments);
    CliRun result;
    if (!process.waitForFinished(60000)) return result;
    result.exitCode = process.exitCode();
    result.lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
    if (result.lines.last().isEmpty()) result.lines.removeLast();
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

void CliSearchTest::lookup() {
    const CliRun result = run({u"jacaranda"_qs});
    QCOMPARE(result.exitCode, 0);
    const auto titles = tagged(linesOf(result, u"FoundList"_qs));
    const auto files = tagged(linesOf(result, u"List1"_qs));
    const auto folders = tagged(linesOf(result, u"List2"_qs));
    QStringList shownTitles;
    for (const auto& [title, tag] : titles) shownTitles << title;
    QCOMPARE(shownTitles, (QStringList{u"Água"_qs, u"Brasil"_qs, u"Fantasma"_qs, u"Portugal"_qs}));
    const QStringList keys{u"agua.htm"_qs, u"brasil.htm"_qs, u"fantasma.htm"_qs,
                           u"portugal.htm"_qs};
    QCOMPARE(files.size(), 4);
    for (qsizetype i = 0; i < titles.size(); ++i) {
        // List1 is in the engine's order: the tag is each entry's own position.
        QCOMPARE(files[titles[i].second], std::make_pair(keys[i], titles[i].second));
    }
    QStringList folderNames;
    for (const auto& [folder, tag] : folders) {
        folderNames << folder;
        QCOMPARE(folder, files[tag].first == u"portugal.htm"_qs   ? u"tomo98b"_qs
                         : files[tag].first == u"fantasma.htm"_qs ? u"tomo98c"_qs
                                                                  : u"tomo98a"_qs);
    }
    QCOMPARE(folderNames,
             (QStringList{u"tomo98a"_qs, u"tomo98a"_qs, u"tomo98b"_qs, u"tomo98c"_qs}));
    QCOMPARE(linesOf(result, u"Combo1"_qs),
             (QStringList{u"*.*"_qs, u"tomo98a"_qs, u"tomo98b"_qs, u"tomo98c"_qs}));
    QCOMPARE(result.lines.last(), u"Label2  4 verbetes encontrados"_qs);
    // The state in its order and nothing else.
    QCOMPARE(result.lines.size(), 4 + 4 + 4 + 4 + 1);
    QVERIFY(result.lines.first().startsWith(u"FoundList "_qs));
}

void CliSearchTest::folder_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("a folder of Combo1") << u"tomo98a"_qs << QStringList{u"Água"_qs, u"Brasil"_qs};
    QTest::newRow("part of every folder")
        << u"tomo98"_qs << QStringList{u"Água"_qs, u"Brasil"_qs, u"Fantasma"_qs, u"Portugal"_qs};
    QTest::newRow("no document's") << u"tomo99"_qs << QStringList{};
    QTest::newRow("another case") << u"TOMO98A"_qs << QStringList{};
}

void CliSearchTest::folder() {
    QFETCH(QString, folder);
    QFETCH(QStringList, titles);
    const CliRun result = run({u"jacarandá"_qs, u"--folder"_qs, folder});
    QCOMPARE(result.exitCode, 0);
    QStringList shownTitles;
    for (const auto& [title, tag] : tagged(linesOf(result, u"FoundList"_qs))) shownTitles << title;
    QCOMPARE(shownTitles, titles);
    QCOMPARE(linesOf(result, u"List1"_qs).size(), titles.size());
    for (const auto& [file, tag] : tagged(linesOf(result, u"List1"_qs)))
        QVERIFY(tag < titles.size());
    QCOMPARE(linesOf(result, u"Combo1"_qs).size(), 4);
    QCOMPARE(result.lines.last(), u"Label2  4 verbetes encontrados"_qs);
}

void CliSearchTest::notFound() {
    const CliRun result = run({u"inexistente"_qs});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.lines, (QStringList{u"Message Lumera Edição 2002|Verbete não encontrado!"_qs,
                                        u"Combo1 *.*"_qs, u"Label2 "_qs}));
}

void CliSearchTest::openArticle() {
    QFile::remove(edition_.filePath(u"vf.htm"_qs));
    const CliRun result = run({u"jacaranda"_qs, u"--open"_qs, u"1"_qs});  // Brasil
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.lines.last(),
             u"Navigate "_qs + QDir(edition_.path()).absolutePath() + u"/vf.htm"_qs);
    QCOMPARE(result.lines.filter(u"Navigate"_qs).size(), 1);
    QFile page(edition_.filePath(u"vf.htm"_qs));
    QVERIFY(page.open(QIODevice::ReadOnly));
    QVERIFY(page.readAll().contains("Brasil"));

    const CliRun filtered =
        run({u"jacaranda"_qs, u"--folder"_qs, u"tomo98b"_qs, u"--open"_qs, u"0"_qs});
    QCOMPARE(filtered.exitCode, 0);
    QCOMPARE(linesOf(filtered, u"FoundList"_qs), QStringList{u"0 Portugal"_qs});
    QCOMPARE(filtered.lines.filter(u"Navigate"_qs).size(), 1);
}

void CliSearchTest::failures() {
    // An indexed article that the database lacks.
    const CliRun missing = run({u"jacaranda"_qs, u"--open"_qs, u"2"_qs});
    QCOMPARE(missing.exitCode, 1);
    QVERIFY(missing.err.contains(u"fantasma.htm"_qs));
    QVERIFY(linesOf(missing, u"Navigate"_qs).isEmpty());

    const CliRun beyond = run({u"jacaranda"_qs, u"--open"_qs, u"4"_qs});
    QCOMPARE(beyond.exitCode, 1);
    QVERIFY(beyond.err.contains(u"--open"_qs));

    // An edition whose index is gone: said, and not taken for "not found".
    QTemporaryDir noIndex;
    for (const QString& name : {u"lex.mdb"_qs, u"search.lst"_qs}) {
        QVERIFY(QFile::copy(edition_.filePath(name), noIndex.filePath(name)));
    }
    writeLexIni(noIndex.path());
    const CliRun unusable = run({u"jacaranda"_qs}, noIndex.path());
    QCOMPARE(unusable.exitCode, 1);
    QVERIFY2(unusable.err.contains(u"índice de pesquisa"_qs), qPrintable(unusable.err));
    QVERIFY(unusable.lines.first().startsWith(u"Message Lumera Edição 2002|Não foi possível"_qs));

    QTemporaryDir nowhere;
    const CliRun noEdition = run({u"jacaranda"_qs}, nowhere.path());
    QCOMPARE(noEdition.exitCode, 1);
    QVERIFY(noEdition.lines.isEmpty());
    QVERIFY(noEdition.err.contains(u"lex.ini"_qs));
}

QTEST_GUILESS_MAIN(CliSearchTest)
#include "test_cli_search.moc"
