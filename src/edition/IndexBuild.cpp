#include "edition/IndexBuild.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>

#include "database/JetKeyLookups.h"
#include "edition/ArticleIndexer.h"
#include "edition/EditionAtHand.h"
#include "edition/PageFolders.h"
#include "media/DriveMap.h"
#include "searchengine/XapianIndexList.h"

namespace lumera {
namespace {

struct Installation {
    QString databaseFile;  // local lex.mdb
    QString folder;        // local folder that receives the index
    PageFolders pages;     // of the CD's "\lex2000\", none when it was not found
    QString CdRomPath;
    QString cdProblem;    // why the CD tree was not found, if it was not
    QString shownFolder;  // where the index will be, when folder is a set-up's staging
};

Installation locateInstallation(const QStringList& driveOptions, QTextStream& err) {
    const auto edition = EditionAtHand::open(driveOptions, QStringLiteral("lumera-index"), err);
    Installation found;
    found.cdProblem = edition->cdProblem;
    found.CdRomPath = edition->paths.CdRomPath;
    found.databaseFile = edition->databaseFile;
    found.folder = QFileInfo(found.databaseFile).absolutePath();
    if (!found.CdRomPath.isEmpty()) {
        found.pages =
            PageFolders::scan(edition->drives, found.CdRomPath + QStringLiteral("\\lex2000"));
    }
    return found;
}

QString seconds(qint64 ms) { return QLocale(QLocale::Portuguese).toString(ms / 1000.0, 'f', 1); }

// The key lookup of a Jet lex.mdb, which the reader would otherwise make at
// its first article page. The index is installed by then, so a failure here
// is only a warning.
void writeKeyLookup(const QString& databaseFile, QTextStream& err) {
    const QString lookup = QDir::toNativeSeparators(JetKeyLookups::pathFor(databaseFile));
    try {
        if (ArticleDatabaseFiles::prepareLookups(databaseFile)) return;
        err << "lumera-index: aviso: "
            << QStringLiteral(
                   "não foi possível gravar a tabela de chaves %1; o leitor vai "
                   "montá-la na primeira página.")
                   .arg(lookup)
            << '\n';
    } catch (const DatabaseError& error) {
        err << "lumera-index: aviso: a tabela de chaves " << lookup
            << " não foi feita: " << error.message() << '\n';
    }
}

int indexInstallation(const Installation& installation, int threads, QTextStream& out,
                      QTextStream& err, const IndexProgress& progress) {
    QElapsedTimer clock;
    clock.start();
    const std::unique_ptr<ArticleDatabaseFile> database =
        ArticleDatabaseFiles::openFile(installation.databaseFile);
    ArticleIndexer indexer(*database, installation.pages, installation.CdRomPath, [&] {
        return ArticleDatabaseFiles::openFile(installation.databaseFile);
    });

    StagedIndex staged(installation.folder, indexformat::kIndexFolder, indexformat::kIndexListFile);
    if (staged.buildPath().isEmpty()) {
        throw EditionProblem{
            QStringLiteral("não foi possível criar uma pasta de trabalho em %1: %2")
                .arg(QDir::toNativeSeparators(installation.folder), staged.error())};
    }
    // For the progress display, and the slices' runs of rows.
    const int rows = indexer.countArticles();
    IndexBuilder builder(staged.buildPath(), {.slices = threads});
    const IndexSummary summary = indexer.indexInto(builder, [&](int done) {
        if (progress) progress(done, rows);
    });
    builder.finish();
    if (!staged.install()) {
        throw EditionProblem{
            QStringLiteral("não foi possível instalar o novo índice em %1: %2")
                .arg(QDir::toNativeSeparators(staged.installedPath()), staged.error())};
    }
    writeKeyLookup(installation.databaseFile, err);
    out << (summary.articles == 1 ? QStringLiteral("1 artigo indexado")
                                  : QStringLiteral("%1 artigos indexados").arg(summary.articles));
    if (summary.repeated == 1) {
        out << QStringLiteral(" (1 linha com chave repetida ignorada)");
    } else if (summary.repeated > 1) {
        out << QStringLiteral(" (%1 linhas com chave repetida ignoradas)").arg(summary.repeated);
    }
    const QString installed =
        installation.shownFolder.isEmpty()
            ? staged.installedPath()
            : QDir(installation.shownFolder).filePath(indexformat::kIndexFolder);
    out << QStringLiteral(" em %1 s; índice em %2\n")
               .arg(seconds(clock.elapsed()), QDir::toNativeSeparators(installed));
    if (summary.unplaced > 0) {
        err << "lumera-index: aviso: "
            << (summary.unplaced == 1
                    ? QStringLiteral("1 artigo sem página conhecida no CD ficou")
                    : QStringLiteral("%1 artigos sem página conhecida no CD ficaram")
                          .arg(summary.unplaced))
            << " na pasta " << ArticleIndexer::kDefaultFolder << '.';
        if (!installation.cdProblem.isEmpty()) err << ' ' << installation.cdProblem;
        err << '\n';
    }
    return 0;
}

}  // namespace

namespace {

template <typename Locate>
int indexWithMessages(const Locate& locate, int threads, QTextStream& out, QTextStream& err,
                      const IndexProgress& progress) {
    try {
        return indexInstallation(locate(), threads, out, err, progress);
    } catch (const EditionProblem& failure) {
        err << "lumera-index: " << failure.message << "\n";
    } catch (const DatabaseError& error) {
        err << "lumera-index: " << error.message() << "\n";
    } catch (const IndexBuildError& error) {
        err << "lumera-index: erro ao gravar o índice: " << QString::fromUtf8(error.what()) << "\n";
    }
    err << "lumera-index: o índice não foi alterado.\n";
    return 1;
}

}  // namespace

int BuildIndex(const QStringList& driveOptions, int threads, QTextStream& out, QTextStream& err,
               const IndexProgress& progress) {
    return indexWithMessages([&] { return locateInstallation(driveOptions, err); }, threads, out,
                             err, progress);
}

int BuildIndexOf(const EditionToIndex& edition, int threads, QTextStream& out, QTextStream& err,
                 const IndexProgress& progress) {
    const auto locate = [&] {
        DriveMap drives;
        drives.map(edition.cdDrive, edition.cdSource);
        const QString cdRomPath = QString(edition.cdDrive) + u':';
        return Installation{edition.databaseFile,
                            edition.folder,
                            PageFolders::scan(drives, cdRomPath + QStringLiteral("\\lex2000")),
                            cdRomPath,
                            QString(),
                            edition.shownFolder};
    };
    return indexWithMessages(locate, threads, out, err, progress);
}

}  // namespace lumera
