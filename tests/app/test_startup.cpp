// Reading lex.ini, the short-name fix-up and the shared command line.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "app/CommandLine.h"
#include "app/LexIni.h"

using namespace lumera;

class StartupTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void parsesLexIni_data();
    void parsesLexIni();
    void shortNameFixup_data();
    void shortNameFixup();
    void readsFromCurrentDirectoryOnly();
    void commandLine();
};

void StartupTest::parsesLexIni_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("installPath");
    QTest::addColumn<QString>("cdRomPath");

    QTest::newRow("plain") << QByteArray("PATH=C:\\lex\\\r\nCDROM=D:\r\n") << "C:\\lex\\"
                           << "D:";
    QTest::newRow("lower-case key") << QByteArray("path=D:\\x\\\r\n") << "D:\\x\\"
                                    << "";
    // The first five characters go, whatever they are.
    QTest::newRow("blanks around =") << QByteArray("PATH = D:\\x\\\r\n") << "= D:\\x\\"
                                     << "";
    QTest::newRow("leading blanks trimmed") << QByteArray("   PATH=D:\\x\\   \r\n") << "D:\\x\\"
                                            << "";
    QTest::newRow("tab is not a blank") << QByteArray("\tPATH=D:\\x\\\r\n") << "=D:\\x\\"
                                        << "";
    QTest::newRow("CDROM E:\\") << QByteArray("CDROM=E:\\\r\n") << ""
                                << "E:";
    QTest::newRow("CDROM E") << QByteArray("CDROM=E\r\n") << ""
                             << "E";
    QTest::newRow("CDROM without =") << QByteArray("CDROM E:\r\n") << ""
                                     << "CD";
    QTest::newRow("one line, both keys") << QByteArray("CDROM=E: PATH\r\n") << "=E: PATH"
                                         << "E:";
    QTest::newRow("key inside a word") << QByteArray("XPATHY=abc\r\n") << "Y=abc"
                                       << "";
    QTest::newRow("last line wins")
        << QByteArray("PATH=C:\\a\\\r\nPATH=C:\\b\\\r\ncdrom=F:\r\n") << "C:\\b\\"
        << "F:";
    QTest::newRow("short path line") << QByteArray("PATH\r\n") << ""
                                     << "";
    QTest::newRow("empty file") << QByteArray() << ""
                                << "";
    QTest::newRow("no final line break") << QByteArray("CDROM=G:") << ""
                                         << "G:";
    // Written on Linux: a lone LF ends a line too.
    QTest::newRow("LF only") << QByteArray("PATH=/home/u/lex/\nCDROM=D:\n") << "/home/u/lex/"
                             << "D:";
    QTest::newRow("CR only") << QByteArray("PATH=/a/\rCDROM=E:\r") << "/a/"
                             << "E:";
    QTest::newRow("UTF-8") << QByteArray(
                                  "PATH=/home/u/Enciclop\xc3\xa9"
                                  "dia/\n")
                           << "/home/u/Enciclopédia/"
                           << "";
    QTest::newRow("Windows-1252") << QByteArray(
                                         "PATH=C:\\Enciclop\xe9"
                                         "dia\\\r\n")
                                  << "C:\\Enciclopédia\\"
                                  << "";
    QTest::newRow("binary") << QByteArray("\x00\xff\x01PATH\x00\x80", 9)
                            << QString::fromUtf16(u"TH\u0000\u20ac", 4) << "";
    QTest::newRow("program files")
        << QByteArray("PATH=C:\\Program Files\\Lex\\\r\nCDROM=D:\r\n") << "C:\\progra~1\\Lex\\"
        << "D:";
}

void StartupTest::parsesLexIni() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, installPath);
    QFETCH(QString, cdRomPath);
    const ContentPaths paths = ParseLexIni(bytes);
    QCOMPARE(paths.InstallPath, installPath);
    QCOMPARE(paths.CdRomPath, cdRomPath);
}

void StartupTest::shortNameFixup_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("fixed");
    QTest::newRow("Program Files") << "C:\\Program Files\\X\\"
                                   << "C:\\progra~1\\X\\";
    QTest::newRow("all capitals left") << "C:\\PROGRAM FILES\\X\\"
                                       << "C:\\PROGRAM FILES\\X\\";
    QTest::newRow("twice") << "C:\\Program Files\\Program Files\\"
                           << "C:\\progra~1\\progra~1\\";
    QTest::newRow("Arquivos de programas") << "C:\\Arquivos de programas\\X\\"
                                           << "C:\\Arquiv~1\\X\\";
    QTest::newRow("Arquivos de Programas") << "C:\\Arquivos de Programas\\X\\"
                                           << "C:\\Arquiv~1\\X\\";
    QTest::newRow("Arquivos De Programas") << "D:\\Arquivos De Programas\\X\\"
                                           << "D:\\Arquiv~1\\X\\";
    QTest::newRow("ARQUIVOS capitals left") << "D:\\ARQUIVOS DE PROGRAMAS\\"
                                            << "D:\\ARQUIVOS DE PROGRAMAS\\";
    QTest::newRow("other path") << "/home/u/lex/"
                                << "/home/u/lex/";
}

void StartupTest::shortNameFixup() {
    QFETCH(QString, path);
    QFETCH(QString, fixed);
    QCOMPARE(ShortNameFixup(path), fixed);
}

void StartupTest::readsFromCurrentDirectoryOnly() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    LexIniReading missing = ReadLexIni();
    QVERIFY(!missing.found);
    QVERIFY(missing.paths.InstallPath.isEmpty());
    QVERIFY(missing.paths.CdRomPath.isEmpty());

    QFile ini(dir.filePath(QStringLiteral("lex.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("PATH=./\r\nCDROM=D:\r\n");
    ini.close();
    const LexIniReading found = ReadLexIni();
    QVERIFY(QDir::setCurrent(previous));
    QVERIFY(found.found);
    QCOMPARE(found.paths.InstallPath, QStringLiteral("./"));
    QCOMPARE(found.paths.CdRomPath, QStringLiteral("D:"));
}

void StartupTest::commandLine() {
    CommandLine line = CommandLine::parse(
        {"-C", "dir", "--drive", "D:=/cd", "--drive=C:=/c", "page", "brasil.htm"});
    QVERIFY(line.error.isEmpty());
    QCOMPARE(line.changeDirectory, QStringLiteral("dir"));
    QCOMPARE(line.driveMappings, QStringList({"D:=/cd", "C:=/c"}));
    QCOMPARE(line.positional, QStringList({"page", "brasil.htm"}));

    QVERIFY(!CommandLine::parse({"--drive"}).error.isEmpty());
    QVERIFY(CommandLine::parse({"--help"}).help);

    // A drive folder given relative to the starting folder still means it after -C.
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    CommandLine relative = CommandLine::parse({"-C", dir.path(), "--drive", "D:=content/cd"});
    QVERIFY(relative.applyDirectory());
    QVERIFY(QDir::setCurrent(previous));
    QCOMPARE(relative.driveMappings, QStringList{"D:=" + previous + "/content/cd"});

    CommandLine missingDir = CommandLine::parse({"-C", "/nonexistent/lumera-dir"});
    QVERIFY(!missingDir.applyDirectory());
    QVERIFY(!missingDir.error.isEmpty());
}

QTEST_GUILESS_MAIN(StartupTest)
#include "test_startup.moc"
