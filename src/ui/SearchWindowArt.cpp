#include "ui/SearchWindowArt.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace lumera::searchart {
namespace {

// The top band reaches down to row 39 left of a diagonal that runs from
// x = 309 in row 10 to x = 280 in row 39; the bottom band reaches up to
// row 249 right of one from x = 212 in row 249 to x = 184 in row 277.
constexpr int kTopBandEnd = 9;
constexpr int kTopLineRow = 10;
constexpr int kTopEdgeStartX = 309;
constexpr int kTopLowerLineRow = 40;
constexpr int kBottomUpperLineRow = 248;
constexpr int kBottomEdgeStartRow = 249;
constexpr int kBottomEdgeStartX = 212;
constexpr int kBottomLineRow = 278;
constexpr int kBottomBandStart = 279;

QRgb topPixel(int x, int y) {
    if (y <= kTopBandEnd) return kDarkBlue;
    if (y == kTopLowerLineRow) {
        // Continues the diagonal from the pixel below its last one.
        return x < kTopEdgeStartX - (kTopLowerLineRow - kTopLineRow) + 1 ? kLightBlue : kBlack;
    }
    const int edge = kTopEdgeStartX - (y - kTopLineRow);
    if (x < edge) return kDarkBlue;
    if (x == edge || y == kTopLineRow) return kLightBlue;
    return kBlack;
}

QRgb bottomPixel(int x, int y) {
    if (y >= kBottomBandStart) return kDarkBlue;
    const int edge = kBottomEdgeStartX - (y - kBottomEdgeStartRow);
    if (y == kBottomUpperLineRow) return x > kBottomEdgeStartX ? kLightBlue : kBlack;
    if (x > edge) return kDarkBlue;
    if (x == edge || y == kBottomLineRow) return kLightBlue;
    return kBlack;
}

QRgb backgroundPixel(int x, int y) {
    if (y <= kTopLowerLineRow) return topPixel(x, y);
    if (y >= kBottomUpperLineRow) return bottomPixel(x, y);
    return kBlack;
}

}  // namespace

QImage DrawBackground() {
    QImage image(kBackgroundSize, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) line[x] = backgroundPixel(x, y);
    }
    return image;
}

QImage DrawOkButton() {
    QImage image(kOkButtonSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF oval = QRectF(QPointF(0, 0), QSizeF(kOkButtonSize)).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient shine(oval.topLeft(), oval.bottomLeft());
    shine.setColorAt(0.0, QColor(255, 196, 96));
    shine.setColorAt(0.5, QColor(250, 140, 20));
    shine.setColorAt(1.0, QColor(200, 96, 0));
    painter.setPen(QPen(QColor(128, 56, 0), 1.0));
    painter.setBrush(shine);
    painter.drawEllipse(oval);

    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(10);
    painter.setFont(font);
    painter.setPen(QColor(48, 24, 0));
    painter.drawText(oval, Qt::AlignCenter, QStringLiteral("OK"));
    return image;
}

}  // namespace lumera::searchart
