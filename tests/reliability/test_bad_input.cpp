// Bad input and failing surroundings met by the real parts of the reader:
// the page builder on real database files through the drive map, lex.ini as
// start-up reads it, a huge article, and an installation folder that fills
// up or cannot be written. Each ends with a Portuguese message, the previous
// page kept, and the next request working.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "app/LexIni.h"
#include "articles/ArticlePageBuilder.h"
#include "articles/InMemoryArticleDatabase.h"
#include "database/DatabaseFixtures.h"
#include "platform/ArticleDatabaseFiles.h"
#include "platform/DriveMap.h"
#include "support/FileBytes.h"
#include "support/Recorders.h"

using namespace lumera;
using namespace lumera::testing;
using namespace Qt::StringLiterals;
using Status = ArticlePageResult::Status;
using DatabaseChange = std::function<void(const QString& databasePath)>;
Q_DECLARE_METATYPE(DatabaseChange)

namespace {

const QByteArray kTemplate = "<html><body>\r\n<h1>Titulov</h1>\r\nTexto\r\n</body></html>\r\n";

// An installation folder as the reader sees it: reached through the drive
// map by its own (POSIX) path, with the page template in it.
struct Installation {
    explicit Installation(const QString& folder) : directory(folder) {
        paths.InstallPath = directory + u'/';
        paths.CdRomPath = u"D:"_s;
        drives.allowDirectory(directory);
    }
    QString file(const QString& name) const { return QDir(directory).filePath(name); }

    QString directory;
    DriveMap drives;
    RecordingBrowser browser;
    RecordingWindowSystem windows;
    ContentPaths paths;
};

struct RealDatabaseSite : Installation {
    using Installation::Installation;
    ArticlePageResult request(const QString& key) {
        windows.messages.clear();
        return builder.BuildArticlePage(key);
    }
    ArticleDatabaseFiles databases;
    ArticlePageBuilder builder{databases, drives, browser,
                               windows,   paths,  std::chrono::milliseconds(0)};
};

struct MemoryDatabaseSite : Installation {
    explicit MemoryDatabaseSite(const QString& folder) : Installation(folder) {
        writeBytes(file(u"lex.mdb"_s), "the tables are in memory");
    }
    ArticlePageResult request(const QString& key) {
        windows.messages.clear();
        return builder.BuildArticlePage(key);
    }
    ArticleTables tables;
    InMemoryDatabaseOpener databases{tables};
    ArticlePageBuilder builder{databases, drives, browser,
                               windows,   paths,  std::chrono::milliseconds(0)};
};

QString article(const QString& title, const QString& body) {
    return u"<html><head>\r\n<title>%1</title>\r\n</head><body>\r\n<a name=\"%1\"></a></p>\r\n"
           "<p><b>%1</b></p>\r\n%2\r\n</BODY></HTML>"_s.arg(title, body);
}

// Runs a command as root may; false when the system refuses it.
bool run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// A small tmpfs of its own, so that "disk full" and "read-only" are real.
class SmallDisk {
  public:
    explicit SmallDisk(const QString& size) {
        mounted_ = run(u"mount"_s,
                       {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size="_s + size, u"tmpfs"_s, dir_.path()});
    }
    ~SmallDisk() {
        if (mounted_) run(u"umount"_s, {dir_.path()});
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    QString path() const { return dir_.path(); }
    bool makeReadOnly() { return run(u"mount"_s, {u"-o"_s, u"remount,ro"_s, dir_.path()}); }

  private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

// Fills the disk, then frees `room` bytes of it again.
bool fillLeaving(const QString& filler, qint64 room) {
    QFile file(filler);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray block(4096, 'x');
    while (file.write(block) == block.size() && file.flush()) {
    }
    file.close();
    return QFile::resize(filler, std::max<qint64>(0, QFileInfo(filler).size() - room));
}

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

}  // namespace

class BadInputTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void damagedDatabaseKeepsThePreviousPage_data();
    void damagedDatabaseKeepsThePreviousPage();
    void anyLexIniGivesPathsAndTheFirstUseSaysWhatIsMissing_data();
    void anyLexIniGivesPathsAndTheFirstUseSaysWhatIsMissing();
    void tenMegabyteArticle();
    void fullDiskKeepsThePreviousPage();
    void readOnlyInstallationKeepsThePreviousPage();
};

void BadInputTest::damagedDatabaseKeepsThePreviousPage_data() {
    QTest::addColumn<DatabaseChange>("damage");
    QTest::addColumn<QString>("reason");
    const auto cutTo = [](qsizetype size) {
        return DatabaseChange([size](const QString& path) { QVERIFY(QFile::resize(path, size)); });
    };
    const auto replaceWith = [](const QString& source, std::function<void(QByteArray&)> change) {
        return DatabaseChange([source, change](const QString& path) {
            QFile::remove(path);
            fixtures::writeChangedCopy(source, path, change);
        });
    };
    const auto sqliteWith = [](const QString& script) {
        return DatabaseChange([script](const QString& path) {
            QFile::remove(path);
            fixtures::executeSql(path, script);
        });
    };
    const QString jet = fixtures::jetFile(u"lex-jet4.mdb"_s);
    QTest::newRow("missing") << DatabaseChange([](const QString& path) { QFile::remove(path); })
                             << u"Não foi possível encontrar a base de dados lex.mdb"_s;
    QTest::newRow("empty") << cutTo(0) << u"o arquivo está vazio"_s;
    QTest::newRow("sqlite truncated") << cutTo(4096 + 100) << u"truncado ou danificado"_s;
    QTest::newRow("jet truncated")
        << replaceWith(jet, [](QByteArray& b) { b.truncate(4096 * 3 + 17); })
        << u"truncado ou danificado"_s;
    QTest::newRow("jet pages zeroed") << replaceWith(jet, [](QByteArray& b) {
        b.replace(4096, b.size() - 4096, QByteArray(b.size() - 4096, '\0'));
    }) << u"Não foi possível"_s;
    QTest::newRow("text instead of a database")
        << replaceWith(jet, [](QByteArray& b) { b = QByteArray(8192, 'x'); })
        << u"não é uma base de dados"_s;
    QTest::newRow("no DatabaseV") << sqliteWith(u"CREATE TABLE Outra(x TEXT);"_s)
                                  << u"A tabela DatabaseV não existe"_s;
    QTest::newRow("no Fotos")
        << sqliteWith(
               u"CREATE TABLE DatabaseV(Arquivo TEXT, Titulo TEXT, Verbete TEXT);"
               "INSERT INTO DatabaseV VALUES('rio.htm', 'Rio', '<p><b>Rio</b></p>');"_s)
        << u"A tabela Fotos não existe"_s;
    QTest::newRow("no Verbete column") << sqliteWith(
                                              u"CREATE TABLE DatabaseV(Arquivo TEXT, Titulo TEXT);"
                                              "INSERT INTO DatabaseV VALUES('rio.htm', 'Rio');"_s)
                                       << u"Verbete"_s;
}

// The whole chain of a request on real files: the drive map finds lex.mdb,
// the engine is chosen by the file's header, the failure reaches the user.
void BadInputTest::damagedDatabaseKeepsThePreviousPage() {
    QFETCH(DatabaseChange, damage);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    RealDatabaseSite site(dir.path());
    QVERIFY(writeBytes(site.file(u"modelo-final.htm"_s), kTemplate));
    const QString database = site.file(u"lex.mdb"_s);
    fixtures::writeSqliteEdition(database);
    QCOMPARE(site.request(u"brasil.htm"_s).status, Status::Built);
    const QByteArray previousPage = readBytes(site.file(u"vf.htm"_s));
    QVERIFY(previousPage.contains("Brasil"));
    const QStringList before = entries(dir.path());

    damage(database);
    const ArticlePageResult result = site.request(u"rio.htm"_s);

    QCOMPARE(result.status, Status::Failed);
    QVERIFY2(result.message.startsWith(u"Não foi possível"_s), qPrintable(result.message));
    QVERIFY2(result.message.contains(reason), qPrintable(result.message));
    QCOMPARE(site.windows.messages.size(), 1);
    QCOMPARE(site.windows.messages[0].text, result.message);
    QCOMPARE(readBytes(site.file(u"vf.htm"_s)), previousPage);
    QCOMPARE(site.browser.calls.size(), 1);  // only the first page was shown
    QStringList after = entries(dir.path());
    if (!after.contains(u"lex.mdb"_s)) after.append(u"lex.mdb"_s);
    after.sort();
    QCOMPARE(after, before);

    // The reader goes on: a sound file again, and the next request works.
    QFile::remove(database);
    fixtures::writeSqliteEdition(database);
    QCOMPARE(site.request(u"agua.htm"_s).status, Status::Built);
    QVERIFY(site.windows.messages.isEmpty());
}

void BadInputTest::anyLexIniGivesPathsAndTheFirstUseSaysWhatIsMissing_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("installPath");
    QTest::addColumn<QString>("cdRomPath");
    QByteArray binary(64 * 1024, '\0');
    QRandomGenerator random(8);
    for (char& b : binary) b = static_cast<char>(random.bounded(256));
    binary.replace("PATH", "path").replace("CDROM", "cdrom");
    binary.replace('\r', '\0').replace('\n', '\0');
    QTest::newRow("binary without keys") << binary << QString() << QString();
    const QByteArray longLine(1024 * 1024, 'a');
    QTest::newRow("1 MB PATH line") << QByteArray("PATH=" + longLine + "\r\nCDROM=E:\r\n")
                                    << QString::fromLatin1(longLine) << u"E:"_s;
    QTest::newRow("1 MB line without keys")
        << QByteArray(longLine + "\nCDROM=" + longLine + "\n") << QString() << u"aa"_s;
    QTest::newRow("NUL inside the path") << QByteArray("PATH=/nada\0/x/\r\n", 17)
                                         << QString::fromLatin1("/nada\0/x/", 9) << QString();
}

// Start-up reads any lex.ini; what it gives is used as it stands, and the
// first request that needs a file there says which one and where.
void BadInputTest::anyLexIniGivesPathsAndTheFirstUseSaysWhatIsMissing() {
    QFETCH(QByteArray, ini);
    QFETCH(QString, installPath);
    QFETCH(QString, cdRomPath);
    const ContentPaths paths = ParseLexIni(ini);
    QCOMPARE(paths.InstallPath, installPath);
    QCOMPARE(paths.CdRomPath, cdRomPath);

    QTemporaryDir dir;
    MemoryDatabaseSite site(dir.path());
    site.paths = {paths.InstallPath, paths.CdRomPath};
    const ArticlePageResult result = site.request(u"brasil.htm"_s);
    QCOMPARE(result.status, Status::Failed);
    QCOMPARE(result.message,
             u"Não foi possível encontrar a base de dados lex.mdb em %1."_s.arg(installPath));
    QVERIFY(site.tables.openedFiles.isEmpty());
}

void BadInputTest::tenMegabyteArticle() {
    QTemporaryDir dir;
    MemoryDatabaseSite site(dir.path());
    QVERIFY(writeBytes(site.file(u"modelo-final.htm"_s), kTemplate));
    QString body;
    body.reserve(10 * 1024 * 1024 + 100);
    const QString paragraph = u"<p>Água mole em pedra dura tanto bate até que fura. Ω</p>\r\n"_s;
    while (body.size() < 10 * 1024 * 1024) body += paragraph;
    site.tables.addArticle(u"longo.htm"_s, article(u"Longo"_s, body));

    QCOMPARE(site.request(u"longo.htm"_s).status, Status::Built);
    const QByteArray page = readBytes(site.file(u"vf.htm"_s));
    // Every paragraph arrives, the Omega as a reference.
    QCOMPARE(page.count("&#937;</p>"), body.count(u"Ω</p>"_s));
    QVERIFY(page.startsWith("<html><body>\r\n<h1>Longo</h1>\r\n"));
    QVERIFY(site.windows.messages.isEmpty());
}

void BadInputTest::fullDiskKeepsThePreviousPage() {
    SmallDisk disk(u"256k"_s);
    if (!disk.mounted()) QSKIP("mounting a tmpfs needs root (mount -t tmpfs)");
    MemoryDatabaseSite site(disk.path());
    // A large template makes the page far larger than the article text, so
    // the scratch file still fits and the page does not.
    QByteArray bigTemplate = kTemplate;
    bigTemplate.append(QByteArray(60 * 1024, 'm')).append("\r\n");
    QVERIFY(writeBytes(site.file(u"modelo-final.htm"_s), bigTemplate));
    site.tables.addArticle(u"brasil.htm"_s, article(u"Brasil"_s, u"<p>pequeno</p>"_s));
    site.tables.addArticle(u"rio.htm"_s, article(u"Rio"_s, QString(8 * 1024, u'r')));
    QCOMPARE(site.request(u"brasil.htm"_s).status, Status::Built);
    const QByteArray previousPage = readBytes(site.file(u"vf.htm"_s));

    const QString filler = site.file(u"enchimento"_s);
    QVERIFY(fillLeaving(filler, 32 * 1024));
    const QStringList before = entries(disk.path());
    const ArticlePageResult result = site.request(u"rio.htm"_s);

    QCOMPARE(result.status, Status::Failed);
    QCOMPARE(result.message, u"Não foi possível gravar a página vf.htm em %1/."_s.arg(disk.path()));
    QCOMPARE(site.windows.messages.size(), 1);
    QCOMPARE(readBytes(site.file(u"vf.htm"_s)), previousPage);
    QCOMPARE(entries(disk.path()), before);  // no half-written file left behind

    // Room again: the reader goes on.
    QVERIFY(QFile::remove(filler));
    QCOMPARE(site.request(u"rio.htm"_s).status, Status::Built);
    QVERIFY(readBytes(site.file(u"vf.htm"_s)).contains(QByteArray(8 * 1024, 'r')));
}

void BadInputTest::readOnlyInstallationKeepsThePreviousPage() {
    SmallDisk disk(u"1m"_s);
    if (!disk.mounted()) QSKIP("mounting a tmpfs needs root (mount -t tmpfs)");
    MemoryDatabaseSite site(disk.path());
    QVERIFY(writeBytes(site.file(u"modelo-final.htm"_s), kTemplate));
    site.tables.addArticle(u"brasil.htm"_s, article(u"Brasil"_s, u"<p>um</p>"_s));
    site.tables.addArticle(u"rio.htm"_s, article(u"Rio"_s, u"<p>dois</p>"_s));
    QCOMPARE(site.request(u"brasil.htm"_s).status, Status::Built);
    const QByteArray previousPage = readBytes(site.file(u"vf.htm"_s));
    QVERIFY(disk.makeReadOnly());

    const ArticlePageResult result = site.request(u"rio.htm"_s);
    QCOMPARE(result.status, Status::Failed);
    QCOMPARE(result.message, u"Não foi possível gravar o arquivo v.txt em %1/."_s.arg(disk.path()));
    QCOMPARE(readBytes(site.file(u"vf.htm"_s)), previousPage);
    QCOMPARE(site.browser.calls.size(), 1);
}

QTEST_GUILESS_MAIN(BadInputTest)
#include "test_bad_input.moc"
