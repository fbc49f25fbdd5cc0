#include "FirstRun.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <functional>

#include "EditionInstaller.h"
#include "IndexerCommand.h"
#include "app/EditionSetup.h"
#include "app/LexIni.h"
#include "platform/DriveMap.h"
#include "platform/DriveSetup.h"
#include "platform/InstallationMedium.h"
#include "searchengine/ShardedIndexBuilder.h"
#include "searchengine/XapianIndexList.h"
#include "ui/SetupWindow.h"

namespace lumera {
namespace {

const QString kTitle = QStringLiteral("Lumera Edição 2002");

QString timeLeft(qint64 elapsedMs, qint64 done, qint64 total) {
    if (done <= 0 || total <= done) return QStringLiteral("calculando");
    const qint64 seconds = elapsedMs * (total - done) / done / 1000;
    return seconds < 60 ? QStringLiteral("%1 s").arg(seconds + 1)
                        : QStringLiteral("%1 min").arg(seconds / 60 + 1);
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

namespace {

// A long job on a worker thread under a progress window with Cancelar. The
// job reports (stage, done, total); after Cancelar its next report throws
// IndexingCancelled, which ends it. False when it was cancelled.
using Report = std::function<void(int stage, qint64 done, qint64 total)>;
using Describe = std::function<QString(int stage, qint64 done, qint64 total, const QString& left)>;

bool runWithProgress(QWidget* parent, const Describe& describe,
                     const std::function<void(const Report&)>& job) {
    QProgressDialog dialog(describe(0, 0, 0, QStringLiteral("calculando")),
                           QStringLiteral("Cancelar"), 0, 0, parent);
    dialog.setWindowTitle(kTitle);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    std::atomic<int> stage{0};
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{0};
    std::atomic<bool> cancelled{false};
    bool finished = false;
    QThread* worker = QThread::create([&] {
        try {
            job([&](int nowStage, qint64 nowDone, qint64 nowTotal) {
                if (cancelled) throw IndexingCancelled{};
                stage = nowStage;
                done = nowDone;
                total = nowTotal;
            });
            finished = true;
        } catch (const IndexingCancelled&) {
        }
    });
    QElapsedTimer clock;
    clock.start();
    int clockStage = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
        if (cancelled) return;
        if (stage != clockStage) {
            clockStage = stage;
            clock.restart();
        }
        // The bar counts in thousandths, so byte counts fit its int.
        dialog.setMaximum(total > 0 ? 1000 : 0);
        dialog.setValue(total > 0 ? int(1000 * done / total) : 0);
        dialog.setLabelText(describe(stage, done, total, timeLeft(clock.elapsed(), done, total)));
    });
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&] {
        cancelled = true;
        dialog.setLabelText(QStringLiteral("Cancelando…"));
    });
    QObject::connect(worker, &QThread::finished, &dialog, &QProgressDialog::accept);
    poll.start(100);
    worker->start();
    dialog.exec();
    worker->wait();
    delete worker;
    return finished;
}

}  // namespace

bool BuildIndexWithProgress(QWidget* parent) {
    int status = 1;
    QString messages;
    const auto describe = [](int, qint64 done, qint64 total, const QString& left) {
        return QStringLiteral("Criando o índice de pesquisa: %1 de %2 artigos; faltam cerca de %3.")
            .arg(done)
            .arg(total)
            .arg(left);
    };
    runWithProgress(parent, describe, [&](const Report& report) {
        QTextStream out(&messages);
        QTextStream err(&messages);
        status = BuildIndex({}, ShardedIndexBuilder::defaultShards(), out, err,
                            [&](int articles, int all) { report(0, articles, all); });
    });
    if (status > 0) {
        QMessageBox::warning(parent, kTitle,
                             QStringLiteral("Não foi possível criar o índice de pesquisa.\n\n") +
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
    const bool ended = runWithProgress(&window, describe, [&](const Report& report) {
        try {
            installed = InstallEdition(request, [&](SetupStage stage, qint64 done, qint64 total) {
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
        if (replace &&
            QMessageBox::question(&window, kTitle,
                                  QStringLiteral("Já existe uma edição instalada em "
                                                 "%1. Substituí-la?")
                                      .arg(editionsetup::DefaultFolder())) != QMessageBox::Yes) {
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
    const auto answer = QMessageBox::question(
        nullptr, kTitle,
        QStringLiteral("O índice de pesquisa desta edição não foi encontrado ou está danificado; "
                       "sem ele, a pesquisa não encontra nada.\n\nCriar o índice agora? Numa "
                       "edição completa, isso leva alguns minutos."));
    if (answer == QMessageBox::Yes) BuildIndexWithProgress(nullptr);
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
    while (true) {
        QMessageBox box(QMessageBox::Warning, kTitle,
                        said + QStringLiteral("\n\nIndique onde ele está agora: a pasta do CD "
                                              "(ou de uma cópia) ou a sua imagem de disco."));
        QPushButton* folder =
            box.addButton(QStringLiteral("Indicar &pasta…"), QMessageBox::ActionRole);
        QPushButton* image =
            box.addButton(QStringLiteral("Indicar &imagem…"), QMessageBox::ActionRole);
        box.addButton(QStringLiteral("Continuar sem o CD"), QMessageBox::RejectRole);
        box.exec();
        QString source;
        if (box.clickedButton() == folder) {
            source = QFileDialog::getExistingDirectory(nullptr, QStringLiteral("Pasta do CD"));
        } else if (box.clickedButton() == image) {
            source = QFileDialog::getOpenFileName(
                nullptr, QStringLiteral("Imagem do CD"), QString(),
                QStringLiteral("Imagens de disco (*.iso *.ISO *.bin *.BIN *.cue *.CUE)"));
        } else {
            return;
        }
        if (source.isEmpty()) continue;
        const auto medium = InstallationMedium::open(source);
        if (medium && !medium->contentSource().isEmpty() &&
            saveCdSource(letter, medium->contentSource())) {
            return;
        }
        said = QStringLiteral("Não há a pasta lex2000 da enciclopédia em %1.")
                   .arg(QDir::toNativeSeparators(source));
    }
}

}  // namespace lumera
