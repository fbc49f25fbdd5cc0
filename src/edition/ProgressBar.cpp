#include "edition/ProgressBar.h"

namespace lumera {
namespace {

constexpr int kBarWidth = 30;
constexpr qint64 kRedrawMs = 100;

QString clock(qint64 seconds) {
    const qint64 h = seconds / 3600;
    const qint64 m = seconds / 60 % 60;
    const qint64 s = seconds % 60;
    const QString ms =
        QStringLiteral("%1:%2").arg(m, h > 0 ? 2 : 1, 10, QChar(u'0')).arg(s, 2, 10, QChar(u'0'));
    return h > 0 ? QStringLiteral("%1:%2").arg(h).arg(ms) : ms;
}

}  // namespace

ProgressBar::ProgressBar(QTextStream& terminal, int total, QString unit)
    : terminal_(terminal), total_(total), unit_(std::move(unit)) {
    sinceStart_.start();
}

void ProgressBar::update(int done) {
    const qint64 now = sinceStart_.elapsed();
    if (lastDrawMs_ >= 0 && now - lastDrawMs_ < kRedrawMs) return;
    lastDrawMs_ = now;
    draw(done);
}

void ProgressBar::finish(int done) {
    draw(done);
    terminal_ << '\n';
    terminal_.flush();
}

void ProgressBar::draw(int done) {
    terminal_ << '\r' << line(done, total_, sinceStart_.elapsed(), unit_) << "\x1b[K";
    terminal_.flush();
}

QString ProgressBar::line(int done, int total, qint64 elapsedMs, const QString& unit) {
    const double seconds = double(qMax<qint64>(elapsedMs, 1)) / 1000.0;
    const double rate = done / seconds;
    QString text;
    if (total > 0) {
        const int filled = int(qint64(kBarWidth) * qMin(done, total) / total);
        text = QStringLiteral("[%1%2] %3/%4 %5")
                   .arg(QString(filled, u'#'), QString(kBarWidth - filled, u'-'))
                   .arg(done)
                   .arg(total)
                   .arg(unit);
    } else {
        text = QStringLiteral("%1 %2").arg(done).arg(unit);
    }
    text += QStringLiteral("  %1 por segundo").arg(qRound(rate));
    if (total > 0 && done > 0 && done < total) {
        text += QStringLiteral("  faltam %1").arg(clock(qRound64((total - done) / rate)));
    }
    return text;
}

}  // namespace lumera
