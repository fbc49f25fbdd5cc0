// Drive letters to directories: case, 8.3 names, and nothing outside.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "platform/DriveMap.h"
#include "platform/DriveSetup.h"
#include "platform/DriveUrls.h"

using namespace lumera;

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

}  // namespace

class DriveMapTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void resolvesDrivePaths();
    void refusesWhatLiesOutside();
    void posixPathsInsideAllowedDirectories();
    void writableFiles();
    void mappingsFromOptionsAndEnvironment();
    void findsAMountedMedium();
    void navigationTexts();

  private:
    QTemporaryDir tmp_;
    QString cd_;
    QString c_;
    DriveMap drives_;
};

void DriveMapTest::init() {
    drives_ = DriveMap();
    cd_ = tmp_.filePath(QStringLiteral("cd"));
    c_ = tmp_.filePath(QStringLiteral("c"));
    // An ISO 9660 disc keeps its names in capitals.
    touch(cd_ + QStringLiteral("/LEX2000/JOIA.HTM"));
    touch(cd_ + QStringLiteral("/LEX2000/FOTOS/BRASIL.HTM"));
    touch(cd_ + QStringLiteral("/LEX2000/tomo98a/São Paulo.htm"));
    touch(c_ + QStringLiteral("/Program Files/Lex/lex.mdb"));
    touch(c_ + QStringLiteral("/Programa Velho/x.txt"));
    touch(c_ + QStringLiteral("/Arquivos de programas/Lex/modelo-final.htm"));
    touch(tmp_.filePath(QStringLiteral("secret.txt")));
    QVERIFY(drives_.map(u'd', cd_));
    QVERIFY(drives_.map(u'C', c_));
}

void DriveMapTest::resolvesDrivePaths() {
    const struct {
        QString path;
        QString expected;  // relative to the temporary folder; empty: refused
    } rows[] = {
        {"D:\\lex2000\\joia.htm", "cd/LEX2000/JOIA.HTM"},
        {"d:/lex2000/joia.htm", "cd/LEX2000/JOIA.HTM"},
        {"D:/LEX2000/FOTOS/BRASIL.htm", "cd/LEX2000/FOTOS/BRASIL.HTM"},
        {"file:///D:/lex2000/joia.htm", "cd/LEX2000/JOIA.HTM"},
        {"file:///D:/lex2000/tomo98a/S%C3%A3o%20Paulo.htm", "cd/LEX2000/tomo98a/São Paulo.htm"},
        {"D:\\LEX2000\\TOMO98A\\SÃO PAULO.HTM", "cd/LEX2000/tomo98a/São Paulo.htm"},
        {"C:\\progra~1\\Lex\\lex.mdb", "c/Program Files/Lex/lex.mdb"},
        {"C:\\PROGRA~2\\x.txt", "c/Programa Velho/x.txt"},
        {"C:\\Arquiv~1\\Lex\\modelo-final.htm", "c/Arquivos de programas/Lex/modelo-final.htm"},
        {"D:\\lex2000\\fotos\\..\\joia.htm", "cd/LEX2000/JOIA.HTM"},
        {"D:\\lex2000\\nada.htm", ""},
        {"E:\\lex2000\\joia.htm", ""},  // unmapped
        {"D:\\..\\secret.txt", ""},
        {"D:/lex2000/../../secret.txt", ""},
        {"file:///D:/%2E%2E/secret.txt", ""},
        {"file:///D:/..%2Fsecret.txt", ""},
    };
    for (const auto& row : rows) {
        const QString resolved = drives_.existingFile(row.path);
        QCOMPARE(resolved, row.expected.isEmpty()
                               ? QString()
                               : QFileInfo(tmp_.filePath(row.expected)).canonicalFilePath());
    }
}

void DriveMapTest::refusesWhatLiesOutside() {
    // A symbolic link inside the CD that leads out of it is not followed.
    QVERIFY(QFile::link(tmp_.filePath(QStringLiteral("secret.txt")),
                        cd_ + QStringLiteral("/LEX2000/link.htm")));
    QVERIFY(drives_.existingFile(QStringLiteral("D:\\lex2000\\link.htm")).isEmpty());
    QVERIFY(QFile::link(tmp_.path(), cd_ + QStringLiteral("/LEX2000/up")));
    QVERIFY(drives_.existingFile(QStringLiteral("D:\\lex2000\\up\\secret.txt")).isEmpty());
    // POSIX paths outside every allowed directory are refused.
    QVERIFY(drives_.existingFile(tmp_.filePath(QStringLiteral("secret.txt"))).isEmpty());
    QVERIFY(drives_.existingFile(cd_ + QStringLiteral("/../secret.txt")).isEmpty());
    QVERIFY(drives_.existingFile(QStringLiteral("/etc/passwd")).isEmpty());
    // A NUL would cut the name where the file system reads it.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("Broken filename")));
    const QString withNul =
        QStringLiteral("D:\\lex2000\\joia.htm") + QChar(u'\0') + QStringLiteral(".txt");
    QVERIFY(drives_.existingFile(withNul).isEmpty());
    QVERIFY(drives_.writableFile(withNul).isEmpty());
    QVERIFY(drives_.writableFile(cd_ + QStringLiteral("/LEX2000/novo") + QChar(u'\0')).isEmpty());
}

void DriveMapTest::posixPathsInsideAllowedDirectories() {
    const QString install = tmp_.filePath(QStringLiteral("install"));
    touch(install + QStringLiteral("/vf.htm"));
    drives_.allowDirectory(install);
    QCOMPARE(drives_.existingFile(install + QStringLiteral("/vf.htm")),
             QFileInfo(install + QStringLiteral("/vf.htm")).canonicalFilePath());
    QCOMPARE(drives_.existingFile(QStringLiteral("file://") + install + QStringLiteral("/vf.htm")),
             QFileInfo(install + QStringLiteral("/vf.htm")).canonicalFilePath());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(install));
    const QString relative = drives_.existingFile(QStringLiteral("./vf.htm"));
    QVERIFY(QDir::setCurrent(previous));
    QCOMPARE(relative, QFileInfo(install + QStringLiteral("/vf.htm")).canonicalFilePath());
    QVERIFY(drives_.existingFile(install + QStringLiteral("/../secret.txt")).isEmpty());
}

void DriveMapTest::writableFiles() {
    // A new file in an existing directory: found by case, created by name.
    QCOMPARE(drives_.writableFile(QStringLiteral("C:\\progra~1\\LEX\\vf.htm")),
             QFileInfo(c_ + QStringLiteral("/Program Files/Lex")).canonicalFilePath() +
                 QStringLiteral("/vf.htm"));
    // An existing file keeps its own spelling.
    QCOMPARE(drives_.writableFile(QStringLiteral("C:\\Program Files\\Lex\\LEX.MDB")),
             QFileInfo(c_ + QStringLiteral("/Program Files/Lex/lex.mdb")).canonicalFilePath());
    QVERIFY(drives_.writableFile(QStringLiteral("C:\\nowhere\\vf.htm")).isEmpty());
    QVERIFY(drives_.writableFile(QStringLiteral("C:\\..\\vf.htm")).isEmpty());
    QVERIFY(drives_.writableFile(tmp_.filePath(QStringLiteral("vf.htm"))).isEmpty());
}

void DriveMapTest::mappingsFromOptionsAndEnvironment() {
    const auto mapping = DriveMap::parseMapping(QStringLiteral("e:=/media/cdrom"));
    QVERIFY(mapping);
    QCOMPARE(mapping->drive, QChar(u'E'));
    QCOMPARE(mapping->directory, QStringLiteral("/media/cdrom"));
    QVERIFY(DriveMap::parseMapping(QStringLiteral("F=/x")));
    QVERIFY(!DriveMap::parseMapping(QStringLiteral("/x")));
    QVERIFY(!DriveMap::parseMapping(QStringLiteral("DD:=/x")));

    DriveMap map;
    qputenv("LUMERA_DRIVES",
            (QStringLiteral("D:=") + c_ + QStringLiteral(";G:=") + cd_ + QStringLiteral(";bad"))
                .toUtf8());
    const QStringList problems =
        MapDrives(map, {QStringLiteral("D:=") + cd_, QStringLiteral("H:=/nonexistent/lumera")});
    qunsetenv("LUMERA_DRIVES");
    QCOMPARE(problems.size(), 2);  // H: has no folder, "bad" is no mapping
    // The command line comes before the environment.
    QCOMPARE(map.directoryOf(u'D'), QFileInfo(cd_).canonicalFilePath());
    QCOMPARE(map.directoryOf(u'G'), QFileInfo(cd_).canonicalFilePath());
}

void DriveMapTest::findsAMountedMedium() {
    const QString media = tmp_.filePath(QStringLiteral("media"));
    QDir().mkpath(media + QStringLiteral("/usb/stick"));
    touch(media + QStringLiteral("/user/LUMERA2002/LEX2000/JOIA.HTM"));
    DriveMap map;
    QCOMPARE(map.mapMountedMedium(u'D', {media}),
             QFileInfo(media + QStringLiteral("/user/LUMERA2002")).canonicalFilePath());
    QVERIFY(!map.existingFile(QStringLiteral("D:\\lex2000\\joia.htm")).isEmpty());

    DriveMap none;
    QVERIFY(none.mapMountedMedium(u'D', {tmp_.filePath(QStringLiteral("c"))}).isEmpty());
    QVERIFY(!LocateContent(none, QStringLiteral("./"), QStringLiteral("E:")).isEmpty());
}

void DriveMapTest::navigationTexts() {
    using namespace driveurls;
    QCOMPARE(toUrl(QStringLiteral("D:\\lex2000\\joia.htm")),
             QUrl(QStringLiteral("d:/lex2000/joia.htm")));
    QCOMPARE(toUrl(QStringLiteral("file:///D:/lex2000/v1.htm")),
             QUrl(QStringLiteral("d:/lex2000/v1.htm")));
    QCOMPARE(toNavigationText(QUrl(QStringLiteral("d:/lex2000/tomo98a/S%C3%A3o.htm"))),
             QStringLiteral("D:\\lex2000\\tomo98a\\São.htm"));
    QCOMPARE(toNavigationText(QUrl(QStringLiteral("d:/lex2000/dtsearch.asp?request=S%E3o+Paulo"))),
             QStringLiteral("D:\\lex2000\\dtsearch.asp?request=S%E3o+Paulo"));
    QCOMPARE(toNavigationText(QUrl(QStringLiteral("d:/lex2000/joia.htm#topo"))),
             QStringLiteral("D:\\lex2000\\joia.htm#topo"));
    QCOMPARE(toNavigationText(QUrl::fromLocalFile(QStringLiteral("/home/u/vf.htm"))),
             QStringLiteral("/home/u/vf.htm"));
    QCOMPARE(toNavigationText(QUrl(QStringLiteral("http://example.org/"))),
             QStringLiteral("http://example.org/"));
    QString value;
    QVERIFY(formFieldValue(QUrl(QStringLiteral("d:/x/dtsearch.asp?a=1&request=S%E3o+Paulo")),
                           QStringLiteral("request"), &value));
    QCOMPARE(value, QStringLiteral("São Paulo"));
    QVERIFY(!formFieldValue(QUrl(QStringLiteral("d:/x/dtsearch.asp?a=1")),
                            QStringLiteral("request"), &value));
}

QTEST_GUILESS_MAIN(DriveMapTest)
#include "test_drive_map.moc"
