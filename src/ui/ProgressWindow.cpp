#include "ui/ProgressWindow.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <atomic>

namespace lumera {
namespace {

QString timeLeft(qint64 elapsedMs, qint64 done, qint64 total) {
    if (done <= 0 || total <= done) return QStringLiteral("calculando");
    const qint64 seconds = elapsedMs * (total - done) / done / 1000;
    return seconds < 60 ? QStringLiteral("%1 s").arg(seconds + 1)
                        : QStringLiteral("%1 min").arg(seconds / 60 + 1);
}

}  // namespace

bool ProgressWindow::run(QWidget* parent, const Describe& describe,
                         const std::function<void(const Report&)>& job) {
    QProgressDialog dialog(describe(0, 0, 0, QStringLiteral("calculando")),
                           QStringLiteral("Cancelar"), 0, 0, parent);
    dialog.setWindowTitle(QStringLiteral("Lumera Edição 2002"));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setMinimumDuration(0);
    if (auto* bar = dialog.findChild<QProgressBar*>())
        bar->setAccessibleName(QStringLiteral("Progresso"));
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
                if (cancelled) throw JobCancelled{};
                stage = nowStage;
                done = nowDone;
                total = nowTotal;
            });
            finished = true;
        } catch (const JobCancelled&) {
        }
    });
    QElapsedTimer clock;
    clock.start();
    int clockStage = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
        if (cancelled) return;
        if (stage != clockStage) {  // each stage has its own pace
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

}  // namespace lumera
