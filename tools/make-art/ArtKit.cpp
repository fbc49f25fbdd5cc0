#include "ArtKit.h"

#include <QCryptographicHash>
#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace lumera::art {

Rng::Rng(const QString& seedText) {
    const QByteArray digest = QCryptographicHash::hash(seedText.toUtf8(), QCryptographicHash::Sha1);
    state_ = 0;
    for (int i = 0; i < 8; ++i) state_ = (state_ << 8) | static_cast<uchar>(digest[i]);
    if (state_ == 0) state_ = 0x9E3779B97F4A7C15ULL;
}

quint32 Rng::next() {
    // xorshift64*
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return static_cast<quint32>((state_ * 0x2545F4914F6CDD1DULL) >> 32);
}

double Rng::uniform(double low, double high) {
    return low + (high - low) * (next() / 4294967296.0);
}

int Rng::below(int bound) { return bound <= 0 ? 0 : static_cast<int>(next() % quint32(bound)); }

QImage renderPicture(const Drawer& draw, int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    draw(painter, QRectF(0, 0, width, height));
    painter.end();
    return image;
}

QImage fitPicture(const QImage& source, int width, int height) {
    const QImage scaled =
        source.scaled(width, height, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    const int x = (scaled.width() - width) / 2;
    const int y = (scaled.height() - height) / 2;
    return scaled.copy(x, y, width, height);
}

QFont artFont(double pixelSize, bool bold, bool serif) {
    QFont font(serif ? QStringLiteral("Liberation Serif") : QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    font.setBold(bold);
    return font;
}

void fillVertical(QPainter& p, const QRectF& area, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    p.fillRect(area, gradient);
}

QPolygonF hillOutline(const QRectF& r, double baseline, double height, int bumps, Rng& rng) {
    QPolygonF outline;
    outline << QPointF(r.left(), r.bottom());
    const int steps = 48;
    const double phase = rng.uniform(0, 6.28);
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double wave = 0.5 + 0.35 * std::sin(t * bumps * 3.14159 + phase) +
                            0.15 * std::sin(t * bumps * 7.1 + phase * 2);
        outline << QPointF(r.left() + t * r.width(), baseline - height * wave);
    }
    outline << QPointF(r.right(), r.bottom());
    return outline;
}

void drawSun(QPainter& p, QPointF centre, double radius, const QColor& colour) {
    QRadialGradient glow(centre, radius * 2.2);
    QColor halo = colour;
    halo.setAlpha(110);
    glow.setColorAt(0, halo);
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, radius * 2.2, radius * 2.2);
    p.setBrush(colour);
    p.drawEllipse(centre, radius, radius);
}

void drawLabelStrip(QPainter& p, const QRectF& r, const QString& text) {
    const QRectF strip(r.left(), r.bottom() - r.height() * 0.12, r.width(), r.height() * 0.12);
    p.fillRect(strip, QColor(0, 0, 0, 140));
    p.setPen(Qt::white);
    p.setFont(artFont(strip.height() * 0.55, true));
    p.drawText(strip, Qt::AlignCenter, text);
}

QPointF at(const QRectF& r, double fx, double fy) {
    return {r.left() + fx * r.width(), r.top() + fy * r.height()};
}

}  // namespace lumera::art
