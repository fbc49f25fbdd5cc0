#pragma once
// Runs the programs the build made as a user runs them, on an edition made in
// a temporary folder: the one runner of every suite that starts a tool.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "support/FileBytes.h"

namespace lumera::testing {

struct ToolRun {
    int exitCode = -1;  // also when it crashed or did not finish
    QByteArray out;
    QByteArray err;
    QStringList lines() const {
        QStringList all = QString::fromUtf8(out).split(u'\n');
        if (all.last().isEmpty()) all.removeLast();
        return all;
    }
};

// tool is the program's name ("lumera-cli"); it runs in workingDirectory when
// one is given, with no drive mapping from the environment.
inline ToolRun runTool(const QString& tool, const QStringList& arguments,
                       const QString& workingDirectory = QString()) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("LUMERA_DRIVES"));
    process.setProcessEnvironment(environment);
    if (!workingDirectory.isEmpty()) process.setWorkingDirectory(workingDirectory);
    process.start(qEnvironmentVariable("LUMERA_BUILD_DIR") + u"/tools/"_qs + tool + u'/' + tool,
                  arguments);
    ToolRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// An installation folder in a temporary directory: its lex.ini names the
// folder itself and the CD drive D:, and it holds the page template and, when
// given, a database fixture of tests/data as lex.mdb.
class Edition {
  public:
    explicit Edition(const QString& databaseFixture = QString()) {
        writeIni("PATH=" + QDir(path()).absolutePath().toUtf8() + "/\r\nCDROM=D:\r\n");
        QFile::copy(testData(u"articles/modelo-final.htm"_qs), file(u"modelo-final.htm"_qs));
        if (!databaseFixture.isEmpty()) useDatabase(databaseFixture);
    }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    bool writeIni(const QByteArray& text) const { return writeBytes(file(u"lex.ini"_qs), text); }
    bool useDatabase(const QString& fixture) const {
        QFile::remove(file(u"lex.mdb"_qs));
        return QFile::copy(testData(fixture), file(u"lex.mdb"_qs));
    }
    // tool -C <this folder> arguments...
    ToolRun run(const QString& tool, const QStringList& arguments) const {
        return runTool(tool, QStringList{u"-C"_qs, path()} + arguments);
    }

  private:
    QTemporaryDir dir_;
};

}  // namespace lumera::testing
