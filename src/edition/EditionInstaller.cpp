#include "edition/EditionInstaller.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTextStream>

#include "app/EditionSetup.h"
#include "database/ArticleDatabaseFiles.h"
#include "edition/EditionFolder.h"
#include "edition/IndexBuild.h"
#include "edition/SetupTarget.h"
#include "media/DriveSetup.h"
#include "media/InstallationMedium.h"
#include "searchengine/IndexBuilder.h"

namespace lumera {
namespace {

const QString kDatabase = QStringLiteral("lex.mdb");
const QString kTemplate = QStringLiteral("modelo-final.htm");
const QString kWorkFolder = QStringLiteral(".lumera-trabalho");
// A page template is a few kilobytes; more is no template.
constexpr qint64 kMaxTemplateBytes = 4 << 20;

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

[[noreturn]] void refuse(const QString& message) { throw SetupError{message}; }

QString megabytes(qint64 bytes) { return QString::number((bytes + (1 << 20) - 1) >> 20); }

std::unique_ptr<InstallationMedium> openMedium(const QString& source) {
    auto medium = InstallationMedium::open(source);
    if (!medium) {
        refuse(QStringLiteral("Não foi possível ler %1: não é uma pasta nem uma imagem de disco "
                              "(ISO, BIN ou CUE).")
                   .arg(native(source)));
    }
    return medium;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// A file the installer copied to the disk, found on the Windows folder when
// one is given, else on the CD (loose or in a cabinet).
struct Found {
    const InstallationMedium* medium;
    InstallationMedium::File file;
};

Found findInstalledFile(const QString& name, const InstallationMedium* windowsFolder,
                        const InstallationMedium& cd, const QString& workFolder) {
    if (windowsFolder) {
        if (auto file = windowsFolder->find(name, workFolder)) return {windowsFolder, *file};
    }
    if (auto file = cd.find(name, workFolder)) return {&cd, *file};
    refuse(QStringLiteral("Não encontrei o arquivo %1 no CD%2. Ele fica na pasta em que a "
                          "enciclopédia foi instalada no Windows: indique essa pasta (com --from "
                          "na linha de comando).")
               .arg(name, windowsFolder ? QStringLiteral(" nem na pasta indicada") : QString()));
}

// The index is built beside the database, in slices that are then merged:
// while it is made it takes up to about twice the database's size.
void checkSpace(const QString& folder, qint64 filesBytes, qint64 databaseBytes) {
    const qint64 needed = filesBytes + 2 * databaseBytes + (16 << 20);
    const qint64 free = QStorageInfo(folder).bytesAvailable();
    if (free >= 0 && free < needed) {
        refuse(QStringLiteral("Não há espaço suficiente em %1: a instalação precisa de cerca de "
                              "%2 MB e há %3 MB livres.")
                   .arg(native(folder), megabytes(needed), megabytes(free)));
    }
}

void copyInstalledFile(const Found& found, const QString& target,
                       const InstallationMedium::CopyProgress& progress) {
    QString reason;
    switch (found.medium->copy(found.file, target, progress, &reason)) {
        case InstallationMedium::CopyOutcome::Copied:
            return;
        case InstallationMedium::CopyOutcome::Unreadable:
            refuse(QStringLiteral("Não foi possível ler %1 até o fim: o CD, a imagem ou o "
                                  "arquivo .cab está danificado ou incompleto.")
                       .arg(found.file.foundAs));
        case InstallationMedium::CopyOutcome::WriteFailed:
            refuse(QStringLiteral("Não foi possível gravar %1 em %2: %3.")
                       .arg(QFileInfo(target).fileName(), native(QFileInfo(target).absolutePath()),
                            reason));
    }
}

// The copies are what the reader needs before anything is replaced: a
// database with its article table and at least one article, a template.
void checkCopies(const QString& staging, const QString& databaseFoundAs) {
    try {
        const auto database = ArticleDatabaseFiles::openFile(QDir(staging).filePath(kDatabase));
        int rows = 0;
        database->forEachArticle([&](const ArticleRow&) { return ++rows == 0; });
        if (rows == 0) {
            refuse(
                QStringLiteral("A base de dados %1 não tem nenhum verbete.").arg(databaseFoundAs));
        }
    } catch (const DatabaseError& error) {
        refuse(QStringLiteral("O arquivo %1 não é uma base de dados da enciclopédia que se possa "
                              "ler: %2")
                   .arg(databaseFoundAs, error.message()));
    }
    const QFileInfo templateFile(QDir(staging).filePath(kTemplate));
    if (templateFile.size() <= 0 || templateFile.size() > kMaxTemplateBytes) {
        refuse(QStringLiteral("O modelo de página %1 está vazio ou danificado.")
                   .arg(templateFile.fileName()));
    }
}

void buildIndex(const QString& staging, const SetupResult& result, const SetupProgress& progress,
                QString* report) {
    QTextStream out(report);
    QString errors;
    QTextStream err(&errors);
    const EditionToIndex edition{QDir(staging).filePath(kDatabase), staging,
                                 result.cdDrive.left(1).toUpper().at(0), result.cdSource,
                                 result.folder};
    const int status =
        BuildIndexOf(edition, IndexBuilder::defaultSlices(), out, err, [&](int done, int total) {
            if (progress) progress(SetupStage::Indexing, done, total);
        });
    out.flush();
    err.flush();
    if (status != 0) refuse(errors.trimmed());
    report->append(errors);
}

// Everything up to the placement: the new edition, whole, in staging.
void makeEdition(const QString& staging, const InstallationMedium& cd,
                 const InstallationMedium* windowsFolder, const SetupProgress& progress,
                 SetupResult& result) {
    const QString work = QDir(staging).filePath(kWorkFolder);
    QDir().mkpath(work);
    const Found database = findInstalledFile(kDatabase, windowsFolder, cd, work);
    const Found pageTemplate = findInstalledFile(kTemplate, windowsFolder, cd, work);
    result.database = database.file.foundAs;
    result.templateFile = pageTemplate.file.foundAs;
    const qint64 total =
        std::max<qint64>(database.file.size, 0) + std::max<qint64>(pageTemplate.file.size, 0);
    checkSpace(staging, total, std::max<qint64>(database.file.size, 0));

    const auto copied = [&](qint64 before) {
        if (progress) progress(SetupStage::Copying, before, total);
        return [&progress, before, total](qint64 done) {
            if (progress) progress(SetupStage::Copying, before + done, total);
        };
    };
    copyInstalledFile(database, QDir(staging).filePath(kDatabase), copied(0));
    copyInstalledFile(pageTemplate, QDir(staging).filePath(kTemplate), copied(database.file.size));
    QDir(work).removeRecursively();
    checkCopies(staging, database.file.foundAs);

    QFile templateFile(QDir(staging).filePath(kTemplate));
    result.cdDrive = editionsetup::CdDriveOfTemplate(
        templateFile.open(QIODevice::ReadOnly) ? templateFile.readAll() : QByteArray());
    result.cdSource = cd.contentSource();
    if (!writeFile(QDir(staging).filePath(QStringLiteral("lex.ini")),
                   editionsetup::LexIniText(result.folder, result.cdDrive)) ||
        !writeFile(QDir(staging).filePath(kSavedDrivesFile),
                   editionsetup::SavedDriveText(result.cdDrive, result.cdSource)) ||
        !writeFile(QDir(staging).filePath(editionfolder::kSetupMark),
                   "Pasta de uma edição feita pela instalação do Lumera.\n")) {
        refuse(QStringLiteral("Não foi possível gravar em %1.").arg(native(staging)));
    }
    buildIndex(staging, result, progress, &result.indexReport);
}

}  // namespace

SetupResult InstallEdition(const SetupRequest& request, const SetupProgress& progress) {
    const auto cd = openMedium(request.cd);
    if (cd->contentSource().isEmpty()) {
        refuse(QStringLiteral("Não encontrei a pasta lex2000 da enciclopédia em %1.")
                   .arg(native(request.cd)));
    }
    const auto windowsFolder = request.from.isEmpty() ? nullptr : openMedium(request.from);
    const SetupTarget target(request.into, request.force, {request.cd, request.from});

    SetupResult result;
    result.folder = target.folder();
    const QString staging = target.makeStaging();
    try {
        makeEdition(staging, *cd, windowsFolder.get(), progress, result);
        if (progress) progress(SetupStage::Placing, 0, 1);
        target.place(staging);
    } catch (...) {
        target.discard(staging);
        throw;
    }
    return result;
}

}  // namespace lumera
