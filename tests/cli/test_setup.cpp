// The set-up as a user runs it, against every way it could cost a user's
// files or an edition: each row a situation, what is said, and the disk
// afterwards; then the set-up cancelled, and killed at every step.
#include <QDirIterator>
#include <QProcess>
#include <QTest>
#include <functional>
#include <memory>

#include "edition/EditionFolder.h"
#include "edition/EditionInstaller.h"
#include "edition/FolderLock.h"
#include "edition/IndexBuild.h"
#include "searchengine/XapianIndexList.h"
#include "support/DiscImages.h"
#include "support/ToolRunner.h"

using namespace lumera;
using namespace lumera::testing;
using namespace Qt::StringLiterals;

class SetupTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void touchesOnlyWhatItMade();
    void cancelledLeavesThingsAsTheyWere();
    void killedAtAnyStepLeavesAWholeEdition();

  private:
    QString at(const QString& name) const { return work_.filePath(name); }
    QStringList oldSource() const { return {u"--cd"_s, at(u"cd"_s), u"--from"_s, at(u"win"_s)}; }
    QStringList newSource() const { return {u"--cd"_s, at(u"cab.iso"_s)}; }
    QByteArray drivesOf(const QStringList& source) const { return "D:=" + source[1].toUtf8(); }
    ToolRun setup(const QStringList& arguments, const QString& mounts = {}) const;
    bool install(const QStringList& source, const QString& into) const {
        return setup(source + QStringList{u"--into"_s, into, u"--force"_s}).exitCode == 0;
    }
    // A file of the user's: it must outlive every row.
    void mine(const QString& path) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QVERIFY(writeBytes(path, "do usuário\n"));
        mine_.append(path);
    }
    // The user's file, in its place or carried by a stopped set-up beside it.
    bool survived(const QString& path) const;
    // The edition in folder is whole; its saved drive, or empty when it is not.
    QByteArray wholeEdition(const QString& folder) const;

    QTemporaryDir work_;
    QStringList mine_;
    QString sample_ = qEnvironmentVariable("LUMERA_BUILD_DIR") + u"/sample"_s;
    QStringList unshare_;  // how this machine makes a mount namespace; empty: it cannot
};

ToolRun SetupTest::setup(const QStringList& arguments, const QString& mounts) const {
    if (mounts.isEmpty()) return runTool(u"lumera-cli"_s, QStringList{u"setup"_s} + arguments);
    QProcess process;
    process.setWorkingDirectory(work_.path());
    QStringList quoted;
    for (const QString& argument : arguments) quoted << u'\'' + argument + u'\'';
    process.start(
        u"unshare"_s,
        unshare_ + QStringList{u"sh"_s, u"-c"_s,
                               mounts + u" && exec "_s + qEnvironmentVariable("LUMERA_BUILD_DIR") +
                                   u"/tools/lumera-cli/lumera-cli setup "_s + quoted.join(u' ')});
    ToolRun run;
    if (process.waitForFinished(120000)) run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

bool SetupTest::survived(const QString& path) const {
    if (readBytes(path) == "do usuário\n") return true;
    const QString target =
        at(QFileInfo(path).absolutePath().mid(work_.path().size() + 1).section(u'/', 0, 0));
    for (const QString& leftover : editionfolder::Leftovers(target)) {
        if (readBytes(leftover + path.mid(target.size())) == "do usuário\n") return true;
    }
    return false;
}

QByteArray SetupTest::wholeEdition(const QString& folder) const {
    const bool whole =
        readBytes(folder + u"/lex.mdb"_s) == readBytes(sample_ + u"/lex.mdb"_s) &&
        readBytes(folder + u"/modelo-final.htm"_s) == readBytes(sample_ + u"/modelo-final.htm"_s) &&
        readBytes(folder + u"/lex.ini"_s).startsWith("PATH=") &&
        QFileInfo::exists(folder + u"/.lumera-instalacao"_s) &&
        IsSearchIndexUsable(folder + u"/search.lst"_s);
    return whole ? readBytes(folder + u"/lumera-drives"_s).trimmed() : QByteArray();
}

void SetupTest::initTestCase() {
    QVERIFY(
        QProcess::execute(
            u"cp"_s, {u"-r"_s, qEnvironmentVariable("LUMERA_SOURCE_DIR") + u"/content/sample/cd"_s,
                      at(u"cd"_s)}) == 0);
    for (const QString& dir : {u"win"_s, u"bad"_s, u"empty"_s, u"cabcd/INSTALL"_s, u"loose"_s}) {
        QVERIFY(QDir().mkpath(at(dir)));
    }
    for (const QString& name : {u"lex.mdb"_s, u"modelo-final.htm"_s}) {
        QVERIFY(QFile::copy(sample_ + u'/' + name, at(u"win/"_s + name)));
        QVERIFY(QFile::copy(sample_ + u'/' + name, at(u"loose/"_s + name)));
    }
    QVERIFY(QFile::copy(sample_ + u"/modelo-final.htm"_s, at(u"bad/modelo-final.htm"_s)));
    QVERIFY(writeBytes(at(u"bad/lex.mdb"_s), QByteArray(8192, 'x')));
    for (const QString& name : {u"lex.mdb"_s, u"modelo-final.htm"_s}) {
        QVERIFY(QFile::copy(sample_ + u'/' + name, at(u"empty/"_s + name)));
    }
    QVERIFY(QProcess::execute(u"sqlite3"_s, {at(u"empty/lex.mdb"_s), u"DELETE FROM DatabaseV"_s}) ==
            0);
    QProcess gcab;
    gcab.setWorkingDirectory(sample_);
    gcab.start(u"gcab"_s,
               {u"-cz"_s, at(u"cabcd/INSTALL/DATA1.CAB"_s), u"lex.mdb"_s, u"modelo-final.htm"_s});
    QVERIFY(gcab.waitForFinished() && gcab.exitCode() == 0);
    QVERIFY(QProcess::execute(u"cp"_s, {u"-r"_s, at(u"cd/lex2000"_s), at(u"cabcd/"_s)}) == 0);
    QVERIFY(makeDiscImage(at(u"cabcd"_s), at(u"cab.iso"_s), {u"-J"_s, u"-R"_s}));
    // A cabinet cut in half, and an image cut inside lex.mdb.
    QVERIFY(QFile::resize(at(u"cabcd/INSTALL/DATA1.CAB"_s),
                          QFileInfo(at(u"cabcd/INSTALL/DATA1.CAB"_s)).size() / 2));
    QVERIFY(QProcess::execute(u"cp"_s, {u"-r"_s, at(u"cd/lex2000"_s), at(u"loose/"_s)}) == 0);
    QVERIFY(makeDiscImage(at(u"loose"_s), at(u"cut.iso"_s), {u"-J"_s, u"-R"_s}));
    // Mastered on Windows: Joliet names only, the installer's files in a
    // folder whose long accented name no plain ISO 9660 name keeps.
    QVERIFY(QDir().mkpath(at(u"joliet/Arquivos de instalação"_s)));
    QVERIFY(QProcess::execute(u"cp"_s, {u"-r"_s, at(u"cd/lex2000"_s), at(u"joliet/"_s)}) == 0);
    for (const QString& name : {u"lex.mdb"_s, u"modelo-final.htm"_s}) {
        QVERIFY(QFile::copy(sample_ + u'/' + name, at(u"joliet/Arquivos de instalação/"_s + name)));
    }
    QVERIFY(makeDiscImage(at(u"joliet"_s), at(u"joliet.iso"_s), {u"-J"_s, u"--norock"_s}));
    const qsizetype database =
        readBytes(at(u"cut.iso"_s)).indexOf(readBytes(sample_ + u"/lex.mdb"_s).left(4096));
    QVERIFY(database > 0 && QFile::resize(at(u"cut.iso"_s), database + 8192));
    for (const QStringList& probe : {QStringList{u"-rm"_s}, QStringList{u"-m"_s}}) {
        if (QProcess::execute(u"unshare"_s, probe + QStringList{u"true"_s}) == 0) {
            unshare_ = probe;
            break;
        }
    }
}

void SetupTest::touchesOnlyWhatItMade() {
    std::unique_ptr<FolderLock> held;
    const QByteArray before = drivesOf(oldSource());
    const QByteArray after = drivesOf(newSource());
    const struct {
        const char* situation;
        std::function<void()> prepare;
        QStringList arguments;
        QString mounts;  // run in a mount namespace after these mounts
        int exitCode;
        const char* said;
        QString checked;     // the folder whose edition is compared
        QByteArray edition;  // its saved drive afterwards; empty: no whole edition
    } rows[] = {
        {"a folder of the user's",
         [&] { mine(at(u"docs/nota.txt"_s)); },
         newSource() + QStringList{u"--into"_s, at(u"docs"_s), u"--force"_s},
         {},
         1,
         "já guarda arquivos",
         at(u"docs"_s),
         {}},
        {"no folder named",
         [] {},
         newSource() + QStringList{u"--into"_s, QString()},
         {},
         2,
         "sem valor",
         {},
         {}},
        {"the source inside the target",
         [&] {
             QDir().mkpath(at(u"par"_s));
             QProcess::execute(u"cp"_s, {u"-r"_s, at(u"cd"_s), at(u"par/cd"_s)});
             mine(at(u"par/cd/nota.txt"_s));
         },
         {u"--cd"_s, at(u"par/cd"_s), u"--from"_s, at(u"win"_s), u"--into"_s, at(u"par"_s)},
         {},
         1,
         "uma dentro da outra",
         {},
         {}},
        {"the target inside the source",
         [] {},
         oldSource() + QStringList{u"--into"_s, at(u"cd/ed"_s)},
         {},
         1,
         "uma dentro da outra",
         at(u"cd/ed"_s),
         {}},
        {"a folder beside of the same name and .new",
         [&] { mine(at(u"e5.new/nota.txt"_s)); },
         newSource() + QStringList{u"--into"_s, at(u"e5"_s)},
         {},
         0,
         "Installed",
         at(u"e5"_s),
         after},
        {"replaced with the user's files beside it",
         [&] {
             QVERIFY(install(oldSource(), at(u"e6"_s)));
             mine(at(u"e6/nota.txt"_s));
             mine(at(u"e6/fotos/praia.txt"_s));
         },
         newSource() + QStringList{u"--into"_s, at(u"e6"_s), u"--force"_s},
         {},
         0,
         "Installed",
         at(u"e6"_s),
         after},
        {"an edition, without --force",
         [&] { QVERIFY(install(oldSource(), at(u"e7"_s))); },
         newSource() + QStringList{u"--into"_s, at(u"e7"_s)},
         {},
         1,
         "--force",
         at(u"e7"_s),
         before},
        {"an edition no set-up made",
         [&] { mine(at(u"e8/lex.ini"_s)); },
         newSource() + QStringList{u"--into"_s, at(u"e8"_s), u"--force"_s},
         {},
         1,
         "não foi feita",
         {},
         {}},
        {"a link to an edition's folder",
         [&] {
             QVERIFY(install(oldSource(), at(u"e9"_s)));
             mine(at(u"e9/nota.txt"_s));
             QVERIFY(QFile::link(at(u"e9"_s), at(u"link9"_s)));
         },
         newSource() + QStringList{u"--into"_s, at(u"link9"_s), u"--force"_s},
         {},
         0,
         "Installed",
         at(u"link9"_s),
         after},
        {"a file",
         [&] { mine(at(u"f10"_s)); },
         newSource() + QStringList{u"--into"_s, at(u"f10"_s)},
         {},
         1,
         "não é uma pasta",
         {},
         {}},
        {"no database over a working edition",
         [&] { QVERIFY(install(oldSource(), at(u"e11"_s))); },
         {u"--cd"_s, at(u"cd"_s), u"--from"_s, at(u"bad"_s), u"--into"_s, at(u"e11"_s),
          u"--force"_s},
         {},
         1,
         "não é uma base de dados",
         at(u"e11"_s),
         before},
        {"a database without articles",
         [] {},
         {u"--cd"_s, at(u"cd"_s), u"--from"_s, at(u"empty"_s), u"--into"_s, at(u"e19"_s)},
         {},
         1,
         "nenhum verbete",
         at(u"e19"_s),
         {}},
        {"a Joliet-only image",
         [] {},
         {u"--cd"_s, at(u"joliet.iso"_s), u"--into"_s, at(u"e20"_s)},
         {},
         0,
         "Template Arquivos de instalação\\modelo-final.htm",
         at(u"e20"_s),
         "D:=" + at(u"joliet.iso"_s).toUtf8()},
        {"an image cut short",
         [] {},
         {u"--cd"_s, at(u"cut.iso"_s), u"--into"_s, at(u"e12"_s)},
         {},
         1,
         "danificado ou incompleto",
         at(u"e12"_s),
         {}},
        {"a damaged cabinet",
         [] {},
         {u"--cd"_s, at(u"cabcd"_s), u"--into"_s, at(u"e13"_s)},
         {},
         1,
         "danificado ou incompleto",
         at(u"e13"_s),
         {}},
        {"another set-up at work",
         [&] { held = std::make_unique<FolderLock>(work_.path()); },
         newSource() + QStringList{u"--into"_s, at(u"e14"_s)},
         {},
         1,
         "Outra instalação",
         at(u"e14"_s),
         {}},
        {"a mount point holding an edition",
         [&] {
             held.reset();
             QVERIFY(install(oldSource(), at(u"m15"_s)));
             mine(at(u"m15/nota.txt"_s));
         },
         newSource() + QStringList{u"--into"_s, at(u"m15"_s), u"--force"_s},
         u"mount --bind m15 m15"_s, 1, "ponto de montagem", at(u"m15"_s), before},
        {"an empty mount point", [&] { QDir().mkpath(at(u"m16"_s)); },
         newSource() + QStringList{u"--into"_s, at(u"m16"_s)}, u"mount --bind m16 m16"_s, 0,
         "Installed", at(u"m16"_s), after},
        {"an empty folder in a read-only one", [&] { QDir().mkpath(at(u"ro/t"_s)); },
         newSource() + QStringList{u"--into"_s, at(u"ro/t"_s)},
         u"mount --bind ro ro && mount -o remount,bind,ro ro && mount --bind ro/t ro/t && "
         u"mount -o remount,bind,rw ro/t"_s,
         0, "Installed", at(u"ro/t"_s), after},
        {"a disk too small",
         [&] { QDir().mkpath(at(u"small"_s)); },
         newSource() + QStringList{u"--into"_s, at(u"small/ed"_s)},
         u"mount -t tmpfs -o size=4m none small"_s,
         1,
         "Não há espaço suficiente em",
         {},
         {}},
    };
    for (const auto& row : rows) {
        if (!row.mounts.isEmpty() && unshare_.isEmpty()) {
            qWarning("skipped, this machine makes no mount namespace: %s", row.situation);
            continue;
        }
        row.prepare();
        const ToolRun run = setup(row.arguments, row.mounts);
        const QString said = QString::fromUtf8(run.out + run.err);
        QVERIFY2(run.exitCode == row.exitCode && said.contains(QString::fromUtf8(row.said)),
                 qPrintable(row.situation + u": "_s + said));
        QVERIFY2(row.exitCode == 0 || !said.contains(u"Installed"_s), row.situation);
        if (!row.checked.isEmpty()) QCOMPARE(wholeEdition(row.checked), row.edition);
        if (!row.checked.isEmpty()) QVERIFY(editionfolder::Leftovers(row.checked).isEmpty());
        for (const QString& path : std::as_const(mine_)) QVERIFY2(survived(path), qPrintable(path));
    }
    QVERIFY(QFileInfo(at(u"link9"_s)).isSymLink());
}

// Cancelled at each stage, from the window's Cancelar: the edition as it was.
void SetupTest::cancelledLeavesThingsAsTheyWere() {
    const QString folder = at(u"c1"_s);
    QVERIFY(install(oldSource(), folder));
    for (const SetupStage cancelAt :
         {SetupStage::Copying, SetupStage::Indexing, SetupStage::Placing}) {
        const SetupRequest request{at(u"cab.iso"_s), {}, folder, true};
        QVERIFY_THROWS_EXCEPTION(IndexingCancelled,
                                 InstallEdition(request, [&](SetupStage stage, qint64, qint64) {
                                     if (stage == cancelAt) throw IndexingCancelled{};
                                 }));
        QCOMPARE(wholeEdition(folder), drivesOf(oldSource()));
        QVERIFY(editionfolder::Leftovers(folder).isEmpty());
    }
}

// SIGKILL at the Nth file operation (strace delivers it), at 100 points over
// a whole replacement from a cabinet in an image: every time a whole edition,
// the old or the new, and the user's files.
void SetupTest::killedAtAnyStepLeavesAWholeEdition() {
    const QString folder = at(u"k"_s);
    const QString operations =
        u"openat,write,rename,renameat,renameat2,unlink,unlinkat,mkdir,rmdir,ftruncate"_s;
    QVERIFY(install(oldSource(), folder));
    mine(folder + u"/nota.txt"_s);
    mine(folder + u"/fotos/praia.txt"_s);
    const auto traced = [&](const QStringList& source, const QStringList& inject) {
        QProcess strace;
        strace.start(u"strace"_s, QStringList{u"-f"_s, u"-qq"_s, u"-o"_s, at(u"trace"_s), u"-e"_s,
                                              u"trace="_s + operations} +
                                      inject +
                                      QStringList{qEnvironmentVariable("LUMERA_BUILD_DIR") +
                                                      u"/tools/lumera-cli/lumera-cli"_s,
                                                  u"setup"_s} +
                                      source + QStringList{u"--into"_s, folder, u"--force"_s});
        return strace.waitForFinished(60000);  // killed, strace ends by the same signal
    };
    QVERIFY(traced(newSource(), {}));
    const qsizetype steps = readBytes(at(u"trace"_s)).count('\n');
    QVERIFY2(steps > 100, qPrintable(QString::number(steps)));
    QVERIFY(install(oldSource(), folder));
    for (int kill = 0; kill < 100; ++kill) {
        const QByteArray was = wholeEdition(folder);
        const QStringList source = was == drivesOf(oldSource()) ? newSource() : oldSource();
        const qsizetype step = 1 + kill * steps / 100;
        QVERIFY(traced(source, {u"-e"_s, u"inject="_s + operations + u":signal=SIGKILL:when="_s +
                                             QString::number(step)}));
        const QByteArray now = wholeEdition(folder);
        QVERIFY2(now == was || now == drivesOf(source), qPrintable(u"killed at %1"_s.arg(step)));
        for (const QString& path : std::as_const(mine_)) QVERIFY2(survived(path), qPrintable(path));
    }
    QVERIFY(install(newSource(), folder));
    QVERIFY(editionfolder::Leftovers(folder).isEmpty());
    QCOMPARE(readBytes(folder + u"/fotos/praia.txt"_s), "do usuário\n");
}

QTEST_GUILESS_MAIN(SetupTest)
#include "test_setup.moc"
