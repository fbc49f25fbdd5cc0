// lumera-cli ini, run as a user would run it.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class CliTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void printsThePaths_data();
    void printsThePaths();
    void missingIni();
    void route();

  private:
    static QString cli() {
        return qEnvironmentVariable("LUMERA_BUILD_DIR") +
               QStringLiteral("/tools/lumera-cli/lumera-cli");
    }
};

void CliTest::printsThePaths_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QByteArray>("output");
    QTest::newRow("windows") << QByteArray("PATH=C:\\Program Files\\Lex\\\r\nCDROM=E:\\\r\n")
                             << QByteArray("InstallPath=C:\\progra~1\\Lex\\\nCdRomPath=E:\n");
    QTest::newRow("blanks") << QByteArray("PATH = D:\\x\\\r\n")
                            << QByteArray("InstallPath== D:\\x\\\nCdRomPath=\n");
    QTest::newRow("both on one line")
        << QByteArray("CDROM=E: PATH\r\n") << QByteArray("InstallPath==E: PATH\nCdRomPath=E:\n");
    QTest::newRow("linux, utf-8") << QByteArray(
                                         "path=/home/u/Enciclop\xc3\xa9"
                                         "dia/\ncdrom=d:\n")
                                  << QByteArray(
                                         "InstallPath=/home/u/Enciclop\xc3\xa9"
                                         "dia/\nCdRomPath=d:\n");
    QTest::newRow("windows-1252") << QByteArray(
                                         "PATH=D:\\Arquivos De Programas\\Enciclop\xe9"
                                         "dia\\\r\n")
                                  << QByteArray(
                                         "InstallPath=D:\\Arquiv~1\\Enciclop\xc3\xa9"
                                         "dia\\\nCdRomPath=\n");
}

void CliTest::printsThePaths() {
    QFETCH(QByteArray, ini);
    QFETCH(QByteArray, output);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("lex.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ini);
    file.close();

    QProcess process;
    process.start(cli(), {QStringLiteral("-C"), dir.path(), QStringLiteral("ini")});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(process.readAllStandardOutput(), output);
    QCOMPARE(process.readAllStandardError(), QByteArray());
}

void CliTest::missingIni() {
    QTemporaryDir dir;
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(cli(), {QStringLiteral("ini")});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(process.readAllStandardOutput(), QByteArray("InstallPath=\nCdRomPath=\n"));
    QVERIFY(process.readAllStandardError().contains("lex.ini"));

    QProcess unknown;
    unknown.start(cli(), {QStringLiteral("-C"), dir.path(), QStringLiteral("nonsense")});
    QVERIFY(unknown.waitForFinished(30000));
    QVERIFY(unknown.exitCode() != 0);
    QCOMPARE(unknown.readAllStandardOutput(), QByteArray());
}

void CliTest::route() {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("lex.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("PATH=./\r\nCDROM=E:\r\n");
    file.close();
    QProcess process;
    process.start(cli(), {"-C", dir.path(), "route", "--request", "Água", "D:\\a\\v2.htm",
                          "D:\\lex2000\\v2.htm", "--complete", "D:\\x\\dtsearch.asp", "D:\\x\\"});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()),
             QStringLiteral("> D:\\a\\v2.htm\nNavigate E:\\lex2000\\v2.htm\nCancel false\n"
                            "> D:\\lex2000\\v2.htm\nBuildArticlePage v2.htm\nCancel true\n"
                            "> D:\\x\\dtsearch.asp\nLookUpArticleTitle Água\nCancel true\n"
                            "> D:\\x\\\nBuildArticlePage \nCancel true\n"));
}

QTEST_GUILESS_MAIN(CliTest)
#include "test_cli.moc"
