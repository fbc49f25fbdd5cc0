// lumera-cli ini, run as a user would run it.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class CliIniTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void printsThePaths_data();
    void printsThePaths();
    void missingIni();

  private:
    static QString cli() {
        return qEnvironmentVariable("LUMERA_BUILD_DIR") +
               QStringLiteral("/tools/lumera-cli/lumera-cli");
    }
};

void CliIniTest::printsThePaths_data() {
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

void CliIniTest::printsThePaths() {
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

void CliIniTest::missingIni() {
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

QTEST_GUILESS_MAIN(CliIniTest)
#include "test_cli_ini.moc"
