// Reading lex.ini, the short-name fix-up and the shared command line.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "app/CommandLine.h"
#include "app/LexIni.h"

using namespace lumera;
using namespace Qt::StringLiterals;

class StartupTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void parsesLexIni();
    void shortNameFixup();
    void commandLine();
};

void StartupTest::parsesLexIni() {
    const struct {
        QByteArray bytes;
        QString installPath;
        QString cdRomPath;
    } rows[] = {
        {"PATH=C:\\lex\\\r\nCDROM=D:\r\n", "C:\\lex\\", "D:"},
        {"path=D:\\x\\\r\n", "D:\\x\\", ""},
        {"PATH = D:\\x\\\r\n", "= D:\\x\\", ""},  // the first five characters go, whatever they are
        {"   PATH=D:\\x\\   \r\n", "D:\\x\\", ""},
        {"\tPATH=D:\\x\\\r\n", "=D:\\x\\", ""},  // a tab is not a blank
        {"CDROM=E:\\\r\n", "", "E:"},
        {"CDROM=E\r\n", "", "E"},
        {"CDROM E:\r\n", "", "CD"},
        {"CDROM=E: PATH\r\n", "=E: PATH", "E:"},
        {"XPATHY=abc\r\n", "Y=abc", ""},
        {"PATH=C:\\a\\\r\nPATH=C:\\b\\\r\ncdrom=F:\r\n", "C:\\b\\", "F:"},  // the last line wins
        {"PATH\r\n", "", ""},
        {"", "", ""},
        {"CDROM=G:", "", "G:"},
        {"PATH=/home/u/lex/\nCDROM=D:\n", "/home/u/lex/", "D:"},  // written on Linux
        {"PATH=/a/\rCDROM=E:\r", "/a/", "E:"},
        {"PATH=/home/Jo\xc3\xa3o/\n", u"/home/João/"_s, ""},
        {"PATH=C:\\Jo\xe3o\\\r\n", u"C:\\João\\"_s, ""},  // Windows-1252
        {QByteArray("\x00\xff\x01PATH\x00\x80", 9), QString::fromUtf16(u"TH\u0000\u20ac", 4), ""},
        {"PATH=C:\\Program Files\\Lex\\\r\nCDROM=D:\r\n", "C:\\progra~1\\Lex\\", "D:"},
        {"PATH=" + QByteArray(1 << 20, 'a') + "\r\nCDROM=E:\r\n", QString(1 << 20, u'a'), "E:"},
        {QByteArray(1 << 20, 'a') + "\nCDROM=" + QByteArray(1 << 20, 'a'), "", "aa"},
        {QByteArray("PATH=/nada\0/x/\r\n", 17), QString::fromLatin1("/nada\0/x/", 9), ""},
    };
    for (const auto& row : rows) {
        const ContentPaths paths = ParseLexIni(row.bytes);
        QCOMPARE(paths.InstallPath, row.installPath);
        QCOMPARE(paths.CdRomPath, row.cdRomPath);
    }
}

void StartupTest::shortNameFixup() {
    const struct {
        QString path;
        QString fixed;
    } rows[] = {
        {"C:\\Program Files\\X\\", "C:\\progra~1\\X\\"},
        {"C:\\PROGRAM FILES\\X\\", "C:\\PROGRAM FILES\\X\\"},
        {"C:\\Program Files\\Program Files\\", "C:\\progra~1\\progra~1\\"},
        {"C:\\Arquivos de programas\\X\\", "C:\\Arquiv~1\\X\\"},
        {"C:\\Arquivos de Programas\\X\\", "C:\\Arquiv~1\\X\\"},
        {"D:\\Arquivos De Programas\\X\\", "D:\\Arquiv~1\\X\\"},
        {"D:\\ARQUIVOS DE PROGRAMAS\\", "D:\\ARQUIVOS DE PROGRAMAS\\"},
        {"/home/u/lex/", "/home/u/lex/"},
    };
    for (const auto& row : rows) QCOMPARE(ShortNameFixup(row.path), row.fixed);
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
