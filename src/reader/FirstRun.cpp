#include "reader/FirstRun.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>

#include "app/EditionSetup.h"
#include "app/LexIni.h"
#include "edition/EditionInstaller.h"
#include "edition/IndexBuild.h"
#include "media/DriveMap.h"
#include "media/DriveSetup.h"
#include "media/InstallationMedium.h"
#include "searchengine/IndexBuilder.h"
#include "searchengine/XapianIndexList.h"
#include "ui/CdPrompt.h"
#include "ui/ProgressWindow.h"
#include "ui/ReaderMessageBox.h"
#include "ui/SetupWindow.h"

namespace lumera {
namespace {

// Where the saved drives last had the CD of letter: the nearest folder of it
// that is still there.
QString lastCdPlace(QChar letter) {
    QFile file(kSavedDrivesFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const auto mapping = DriveMap::parseMapping(line);
        if (!mapping || mapping->drive != letter) continue;
        QFileInfo place(mapping->directory);
        while (!place.isDir() && !place.isRoot()) place = QFileInfo(place.absolutePath());
        return place.absoluteFilePath();
    }
    return {};
}

// The CD line of the saved drives replaced by letter=source, the others kept.
bool saveCdSource(QChar letter, const QString& source) {
    QFile file(kSavedDrivesFile);
    QStringList lines;
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
            const auto mapping = DriveMap::parseMapping(line);
            if (mapping && mapping->drive != letter) lines.append(line);
        }
        file.close();
    }
    lines.append(QString(letter) + QStringLiteral(":=") + source);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write((lines.join(u'\n') + u'\n').toUtf8()) > 0;
}

}  // namespace

bool OfferToBuildTheIndex(const QString& problem, const QString& installDir) {
    if (AskYesNo(nullptr, problem + QStringLiteral("\n\nCriar o índice agora? Numa edição "
                                                   "completa, isso leva alguns minutos."))) {
        return BuildIndexWithProgress(nullptr);
    }
    // What a cancelled build left would otherwise stay until the next.
    RemoveIndexLeftovers(installDir);
    return false;
}

bool BuildIndexWithProgress(QWidget* parent) {
    int status = 1;
    QString messages;
    const auto describe = [](int, qint64 done, qint64 total, const QString& left) {
        return QStringLiteral("Criando o índice de pesquisa: %1 de %2 artigos; faltam cerca de %3.")
            .arg(done)
            .arg(total)
            .arg(left);
    };
    ProgressWindow::run(parent, describe, [&](const ProgressWindow::Report& report) {
        QTextStream out(&messages);
        QTextStream err(&messages);
        status = BuildIndex({}, IndexBuilder::defaultSlices(), out, err,
                            [&](int articles, int all) { report(0, articles, all); });
    });
    if (status > 0) {
        ShowWarning(parent, QStringLiteral("Não foi possível criar o índice de pesquisa.\n\n") +
                                messages.trimmed());
    }
    return status == 0;
}

namespace {

// The set-up, on a worker thread: the window stays alive and Cancelar leaves
// every folder as it was. Empty when it failed (the problem is shown in the
// window) or was cancelled.
QString installWithProgress(SetupWindow& window, const SetupRequest& request) {
    const auto describe = [](int stage, qint64 done, qint64 total, const QString& left) {
        switch (SetupStage(stage)) {
            case SetupStage::Copying:
                return QStringLiteral(
                           "Copiando a base de dados e o modelo de página: %1 de %2 "
                           "MB; faltam cerca de %3.")
                    .arg(done >> 20)
                    .arg(total >> 20)
                    .arg(left);
            case SetupStage::Indexing:
                return QStringLiteral(
                           "Criando o índice de pesquisa: %1 de %2 artigos; faltam "
                           "cerca de %3.")
                    .arg(done)
                    .arg(total)
                    .arg(left);
            case SetupStage::Placing:
                break;
        }
        return QStringLiteral("Pondo a edição no lugar…");
    };
    QString installed;
    QString problem;
    const bool ended =
        ProgressWindow::run(&window, describe, [&](const ProgressWindow::Report& report) {
            try {
                installed =
                    InstallEdition(request, [&](SetupStage stage, qint64 done, qint64 total) {
                        report(int(stage), done, total);
                    }).folder;
            } catch (const SetupError& error) {
                problem = error.message;
            }
        });
    if (!ended) {
        window.showProblem(QStringLiteral("Instalação cancelada; nada foi alterado."));
    } else if (!problem.isEmpty()) {
        window.showProblem(problem);
    }
    return installed;
}

}  // namespace

QString RunFirstSetup(bool sampleInstalled, bool* sampleChosen) {
    SetupWindow window(DriveMap::mountedMedia(), sampleInstalled);
    QString installed;
    QObject::connect(&window, &SetupWindow::installRequested, &window, [&] {
        if (window.source().isEmpty()) {
            window.showProblem(QStringLiteral("Indique a pasta ou a imagem do CD."));
            return;
        }
        const bool replace = !editionsetup::InstalledEdition().isEmpty();
        if (replace && !AskYesNo(&window, QStringLiteral("Já existe uma edição instalada em "
                                                         "%1. Substituí-la?")
                                              .arg(editionsetup::DefaultFolder()))) {
            return;
        }
        installed = installWithProgress(window, {window.source(), window.windowsFolder(),
                                                 editionsetup::DefaultFolder(), replace});
        if (!installed.isEmpty()) window.accept();
    });
    window.exec();
    *sampleChosen = window.sampleChosen();
    return installed;
}

void OfferIndexIfUnusable() {
    const LexIniReading ini = ReadLexIni();
    QChar drive;
    QString rest;
    // An installation on a Windows drive is reached through the drive map;
    // its index is checked by the first search.
    if (!ini.found || DriveMap::splitDrivePath(ini.paths.InstallPath, &drive, &rest)) return;
    const QString list =
        QDir(ini.paths.InstallPath.isEmpty() ? QStringLiteral(".") : ini.paths.InstallPath)
            .filePath(QStringLiteral("search.lst"));
    if (IsSearchIndexUsable(list)) return;
    OfferToBuildTheIndex(kIndexMissing, QFileInfo(list).absolutePath());
}

void OfferToFindTheCd(const QStringList& driveOptions) {
    const LexIniReading ini = ReadLexIni();
    const QString cd = ini.paths.CdRomPath;
    if (!ini.found || cd.isEmpty() || !cd[0].isLetter()) return;
    const QChar letter = cd[0].toUpper();
    DriveMap drives;
    const QStringList problems = MapDrives(drives, driveOptions);
    if (LocateContent(drives, ini.paths.InstallPath, cd).isEmpty() && drives.holdsMedium(letter)) {
        return;
    }
    QString said = problems.filter(QStringLiteral("%1:").arg(letter)).join(u'\n');
    if (said.isEmpty()) {
        said = QStringLiteral("O CD da enciclopédia (unidade %1:) não foi encontrado.").arg(letter);
    }
    PointToTheCd(letter, said);
}

std::optional<QString> PointToTheCd(QChar letter, QString said) {
    while (true) {
        const std::optional<QString> source = AskWhereTheCdIs(said, lastCdPlace(letter));
        if (!source) return std::nullopt;
        if (source->isEmpty()) continue;
        const auto medium = InstallationMedium::open(*source);
        if (medium && !medium->contentSource().isEmpty() &&
            saveCdSource(letter, medium->contentSource())) {
            return medium->contentSource();
        }
        said = QStringLiteral("Não há a pasta lex2000 da enciclopédia em %1.")
                   .arg(QDir::toNativeSeparators(*source));
    }
}

}  // namespace lumera
