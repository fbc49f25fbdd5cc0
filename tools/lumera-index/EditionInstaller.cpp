#include "EditionInstaller.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/EditionSetup.h"
#include "platform/DriveSetup.h"
#include "platform/InstallationMedium.h"

namespace lumera {
namespace {

const QString kDatabase = QStringLiteral("lex.mdb");
const QString kTemplate = QStringLiteral("modelo-final.htm");

std::unique_ptr<InstallationMedium> openMedium(const QString& source) {
    auto medium = InstallationMedium::open(source);
    if (!medium) {
        throw SetupError{QStringLiteral("Não foi possível ler %1: não é uma pasta nem uma imagem "
                                        "de disco (ISO, BIN ou CUE).")
                             .arg(QDir::toNativeSeparators(source))};
    }
    return medium;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// The two files the installer copied to the disk: from the Windows folder
// when one is given, else from the CD (loose or in a cabinet).
QString copyInstalledFile(const QString& name, const InstallationMedium* windowsFolder,
                          const InstallationMedium& cd, const QString& target) {
    QString foundAs;
    if (windowsFolder && windowsFolder->copyOut(name, target, &foundAs)) return foundAs;
    if (cd.copyOut(name, target, &foundAs)) return foundAs;
    throw SetupError{
        QStringLiteral("Não encontrei o arquivo %1 no CD%2. Ele fica na pasta em que a "
                       "enciclopédia foi instalada no Windows: indique essa pasta (com --from "
                       "na linha de comando).")
            .arg(name, windowsFolder ? QStringLiteral(" nem na pasta indicada") : QString())};
}

}  // namespace

SetupResult InstallEdition(const SetupRequest& request) {
    const auto cd = openMedium(request.cd);
    if (cd->contentSource().isEmpty()) {
        throw SetupError{QStringLiteral("Não encontrei a pasta lex2000 da enciclopédia em %1.")
                             .arg(QDir::toNativeSeparators(request.cd))};
    }
    const auto windowsFolder = request.from.isEmpty() ? nullptr : openMedium(request.from);

    SetupResult result;
    result.folder = QDir::cleanPath(QDir::current().absoluteFilePath(request.into));
    if (QFileInfo::exists(result.folder + u'/' + QStringLiteral("lex.ini")) && !request.force) {
        throw SetupError{QStringLiteral("Já existe uma edição instalada em %1; para substituí-la, "
                                        "use --force na linha de comando.")
                             .arg(QDir::toNativeSeparators(result.folder))};
    }
    // Made beside its place and moved there whole: a failed set-up leaves
    // nothing half made, and an edition it replaces stays until the end.
    const QString staging = result.folder + QStringLiteral(".new");
    QDir(staging).removeRecursively();
    if (!QDir().mkpath(staging)) {
        throw SetupError{QStringLiteral("Não foi possível criar a pasta %1.")
                             .arg(QDir::toNativeSeparators(staging))};
    }
    try {
        result.database =
            copyInstalledFile(kDatabase, windowsFolder.get(), *cd, staging + u'/' + kDatabase);
        result.templateFile =
            copyInstalledFile(kTemplate, windowsFolder.get(), *cd, staging + u'/' + kTemplate);
        QFile templateFile(staging + u'/' + kTemplate);
        result.cdDrive = editionsetup::CdDriveOfTemplate(
            templateFile.open(QIODevice::ReadOnly) ? templateFile.readAll() : QByteArray());
        result.cdSource = cd->contentSource();
        if (!writeFile(staging + QStringLiteral("/lex.ini"),
                       editionsetup::LexIniText(result.folder, result.cdDrive)) ||
            !writeFile(staging + u'/' + kSavedDrivesFile,
                       editionsetup::SavedDriveText(result.cdDrive, result.cdSource))) {
            throw SetupError{QStringLiteral("Não foi possível gravar em %1.")
                                 .arg(QDir::toNativeSeparators(staging))};
        }
        if (!QDir(result.folder).removeRecursively() || !QDir().rename(staging, result.folder)) {
            throw SetupError{QStringLiteral("Não foi possível pôr a edição em %1.")
                                 .arg(QDir::toNativeSeparators(result.folder))};
        }
    } catch (const SetupError&) {
        QDir(staging).removeRecursively();
        throw;
    }
    return result;
}

}  // namespace lumera
