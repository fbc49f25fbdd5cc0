#include "Interface.h"

#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace lumera::art::interface {
namespace {

constexpr double kPi = 3.14159265358979;
const QColor kPageBlue(0, 102, 153);

QImage blank(int width, int height, const QColor& fill) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

void globe(QPainter& p, QPointF centre, double radius, const QColor& sea, const QColor& lines) {
    QRadialGradient shade(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.3);
    shade.setColorAt(0, sea.lighter(160));
    shade.setColorAt(1, sea);
    p.setPen(QPen(lines, std::max(1.0, radius / 10)));
    p.setBrush(shade);
    p.drawEllipse(centre, radius, radius);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius * 0.45, radius);
    p.drawLine(centre - QPointF(radius, 0), centre + QPointF(radius, 0));
    p.drawLine(centre - QPointF(0, radius), centre + QPointF(0, radius));
    const double off = radius * 0.5;
    const double half = std::sqrt(radius * radius - off * off);
    p.drawLine(centre + QPointF(-half, -off), centre + QPointF(half, -off));
    p.drawLine(centre + QPointF(-half, off), centre + QPointF(half, off));
}

void drawKind(QPainter& p, KindIcon kind) {
    const QColor ink(40, 40, 60);
    p.setPen(QPen(ink, 1.5));
    switch (kind) {
        case KindIcon::Foto:  // a camera
            p.setBrush(QColor(90, 90, 100));
            p.drawRoundedRect(QRectF(3, 10, 26, 17), 3, 3);
            p.drawRect(QRectF(10, 6, 9, 5));
            p.setBrush(QColor(120, 180, 230));
            p.drawEllipse(QPointF(16, 18.5), 6, 6);
            p.setBrush(QColor(255, 220, 80));
            p.drawRect(QRectF(23, 12, 4, 3));
            break;
        case KindIcon::AudVis:  // a panel: screen with a speaker beside it
            p.setBrush(QColor(60, 60, 70));
            p.drawRoundedRect(QRectF(2, 5, 21, 18), 2, 2);
            p.setBrush(QColor(90, 170, 230));
            p.drawRect(QRectF(5, 8, 15, 12));
            p.setBrush(QColor(230, 120, 30));
            p.drawPolygon(
                QPolygonF({QPointF(24, 14), QPointF(28, 10), QPointF(28, 24), QPointF(24, 20)}));
            p.drawLine(QPointF(8, 27), QPointF(18, 27));
            break;
        case KindIcon::Bandeira:  // a flag on its pole
            p.setBrush(QColor(120, 80, 40));
            p.drawRect(QRectF(5, 3, 2, 26));
            p.setBrush(QColor(0, 150, 60));
            p.drawRect(QRectF(7, 5, 20, 13));
            p.setBrush(QColor(255, 205, 0));
            p.drawPolygon(QPolygonF(
                {QPointF(17, 6.5), QPointF(25, 11.5), QPointF(17, 16.5), QPointF(9, 11.5)}));
            break;
        case KindIcon::Grafico:  // bars over an axis
            p.drawLine(QPointF(4, 28), QPointF(29, 28));
            p.drawLine(QPointF(4, 28), QPointF(4, 4));
            p.setBrush(QColor(220, 60, 50));
            p.drawRect(QRectF(7, 16, 5, 12));
            p.setBrush(QColor(60, 140, 220));
            p.drawRect(QRectF(14, 9, 5, 19));
            p.setBrush(QColor(250, 190, 40));
            p.drawRect(QRectF(21, 13, 5, 15));
            break;
        case KindIcon::Mapa:  // a folded map
            p.setBrush(QColor(240, 230, 180));
            p.drawPolygon(
                QPolygonF({QPointF(3, 7), QPointF(11, 4), QPointF(20, 7), QPointF(29, 4),
                           QPointF(29, 25), QPointF(20, 28), QPointF(11, 25), QPointF(3, 28)}));
            p.drawLine(QPointF(11, 4), QPointF(11, 25));
            p.drawLine(QPointF(20, 7), QPointF(20, 28));
            p.setPen(QPen(QColor(200, 30, 30), 2));
            p.drawLine(QPointF(6, 22), QPointF(14, 14));
            p.drawLine(QPointF(14, 14), QPointF(25, 11));
            break;
        case KindIcon::Video:  // a strip of film
            p.setBrush(QColor(40, 40, 40));
            p.drawRect(QRectF(4, 3, 24, 26));
            p.setBrush(QColor(120, 190, 240));
            p.drawRect(QRectF(9, 6, 14, 9));
            p.drawRect(QRectF(9, 17, 14, 9));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            for (int y = 5; y < 28; y += 4) {
                p.drawRect(QRectF(5, y, 2, 2));
                p.drawRect(QRectF(25, y, 2, 2));
            }
            break;
        case KindIcon::Audio:  // a loudspeaker with sound waves
            p.setBrush(QColor(60, 60, 80));
            p.drawPolygon(QPolygonF({QPointF(4, 12), QPointF(10, 12), QPointF(17, 5),
                                     QPointF(17, 27), QPointF(10, 20), QPointF(4, 20)}));
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(230, 120, 30), 2));
            p.drawArc(QRectF(14, 10, 8, 12), -60 * 16, 120 * 16);
            p.drawArc(QRectF(13, 6, 14, 20), -60 * 16, 120 * 16);
            break;
        case KindIcon::Website:  // the globe of the world wide web
            globe(p, QPointF(16, 16), 12, QColor(40, 110, 200), QColor(220, 240, 255));
            break;
    }
}

}  // namespace

QImage kindIcon(KindIcon kind) {
    QImage image = blank(32, 32, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawKind(p, kind);
    return image;
}

QImage spacerPixel() {
    QImage image(1, 1, QImage::Format_Indexed8);
    image.setColorTable({qRgba(255, 255, 255, 0)});
    image.fill(0);
    return image;
}

QImage bulletArrow() {
    QImage image(9, 9, QImage::Format_Indexed8);
    image.setColorTable({qRgba(255, 255, 255, 0), QColor(255, 204, 0).rgb()});
    image.fill(0);
    for (int x = 2; x <= 6; ++x)
        for (int y = x - 2; y <= 10 - x; ++y) image.setPixel(x, y, 1);
    return image;
}

QImage logo() {
    QImage image = blank(190, 44, kPageBlue);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    globe(p, QPointF(22, 22), 16, QColor(30, 90, 170), QColor(255, 204, 0));
    p.setPen(Qt::white);
    p.setFont(artFont(26, true, true));
    p.drawText(QRectF(44, 0, 146, 36), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Lumera"));
    p.setPen(QColor(255, 204, 0));
    p.setFont(artFont(10, true));
    p.drawText(QRectF(46, 29, 144, 14), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8("ENCICLOPÉDIA 2002"));
    return image;
}

QImage homeBanner() {
    QImage image = blank(620, 130, kPageBlue);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    fillVertical(p, QRectF(0, 0, 620, 130), QColor(0, 70, 120), QColor(0, 130, 180));
    Rng rng(QStringLiteral("banner"));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 80; ++i) {
        p.setBrush(QColor(255, 255, 255, 40 + rng.below(100)));
        const double size = rng.uniform(0.5, 1.8);
        p.drawEllipse(QPointF(rng.uniform(0, 620), rng.uniform(0, 130)), size, size);
    }
    globe(p, QPointF(70, 65), 50, QColor(30, 90, 170), QColor(255, 204, 0));
    p.setPen(Qt::white);
    p.setFont(artFont(58, true, true));
    p.drawText(QRectF(140, 8, 470, 75), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Lumera"));
    p.setPen(QColor(255, 204, 0));
    p.setFont(artFont(19, true));
    p.drawText(QRectF(144, 80, 470, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8("Enciclopédia Multimídia · Edição 2002"));
    return image;
}

QImage footerStrip() {
    QImage image = blank(600, 18, kPageBlue);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, 600, 3), QColor(255, 204, 0));
    p.setPen(Qt::white);
    p.setFont(artFont(11, true));
    p.drawText(QRectF(8, 3, 584, 15), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8("Lumera Orvel On-Line · Enciclopédia Multimídia"));
    return image;
}

QImage windowIcon() {
    QImage image = blank(32, 32, Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        // An open book under a globe, and the initial in front of both.
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawPolygon(
            QPolygonF({QPointF(1, 21), QPointF(15, 24), QPointF(15, 30), QPointF(1, 27)}));
        p.drawPolygon(
            QPolygonF({QPointF(30, 21), QPointF(16, 24), QPointF(16, 30), QPointF(30, 27)}));
        p.setBrush(QColor(0, 0, 128));
        p.drawEllipse(QPointF(16, 12), 11, 11);
        p.setPen(QPen(QColor(0, 255, 255), 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(16, 12), 5, 11);
        p.drawLine(QPointF(5, 12), QPointF(27, 12));
        p.setBrush(QColor(0, 128, 0));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(12, 8), 3, 2);
        p.drawEllipse(QPointF(20, 16), 3, 3);
        p.setBrush(QColor(255, 255, 0));
        p.setPen(QPen(Qt::black, 1));
        p.drawPolygon(QPolygonF({QPointF(9, 3), QPointF(15, 3), QPointF(15, 17), QPointF(24, 17),
                                 QPointF(24, 22), QPointF(9, 22)}));
    }
    // The sixteen colours of the classic Windows palette, plus transparency.
    const QVector<QRgb> palette = {qRgba(0, 0, 0, 0),   qRgb(0, 0, 0),      qRgb(128, 0, 0),
                                   qRgb(0, 128, 0),     qRgb(128, 128, 0),  qRgb(0, 0, 128),
                                   qRgb(128, 0, 128),   qRgb(0, 128, 128),  qRgb(192, 192, 192),
                                   qRgb(128, 128, 128), qRgb(255, 0, 0),    qRgb(0, 255, 0),
                                   qRgb(255, 255, 0),   qRgb(0, 0, 255),    qRgb(255, 0, 255),
                                   qRgb(0, 255, 255),   qRgb(255, 255, 255)};
    return image.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither)
        .convertToFormat(QImage::Format_ARGB32);
}

QImage televisionFrame() {
    QImage image = blank(436, 365, QColor(60, 50, 45));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Cabinet with a wood grain, and a rounded bezel around the screen.
    fillVertical(p, QRectF(0, 0, 436, 365), QColor(120, 80, 50), QColor(70, 45, 30));
    p.setPen(QPen(QColor(90, 60, 40, 120), 1));
    for (int y = 4; y < 365; y += 7) p.drawLine(QPointF(0, y), QPointF(436, y + std::sin(y) * 3));
    QLinearGradient bezel(QPointF(0, 30), QPointF(0, 320));
    bezel.setColorAt(0, QColor(200, 200, 205));
    bezel.setColorAt(1, QColor(110, 110, 118));
    p.setPen(QPen(QColor(40, 40, 45), 2));
    p.setBrush(bezel);
    p.drawRoundedRect(QRectF(16, 36, 401, 285), 26, 26);
    // The screen: Picture1 lies exactly over this area.
    QRadialGradient glass(QPointF(200, 160), 230);
    glass.setColorAt(0, QColor(35, 45, 50));
    glass.setColorAt(1, QColor(8, 10, 12));
    p.setPen(QPen(QColor(20, 20, 20), 3));
    p.setBrush(glass);
    p.drawRoundedRect(QRectF(36, 60, 361, 237), 18, 18);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 25));
    p.drawEllipse(QRectF(60, 70, 160, 60));
    // Name plate above the screen.
    p.setPen(QColor(60, 40, 20));
    p.setFont(artFont(15, true, true));
    p.drawText(QRectF(0, 38, 436, 22), Qt::AlignCenter, QStringLiteral("LUMERA  TV"));
    // Knobs, speaker grille and the power light below.
    for (int i = 0; i < 2; ++i) {
        const QPointF c(60 + i * 50, 343);
        QRadialGradient knob(c - QPointF(4, 4), 16);
        knob.setColorAt(0, QColor(230, 230, 230));
        knob.setColorAt(1, QColor(60, 60, 60));
        p.setPen(QPen(QColor(20, 20, 20), 1.5));
        p.setBrush(knob);
        p.drawEllipse(c, 14, 14);
        const double angle = kPi / 4 + i * kPi / 3;
        p.drawLine(c, c + QPointF(std::cos(angle) * 11, -std::sin(angle) * 11));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 30, 25));
    p.drawRoundedRect(QRectF(170, 330, 200, 28), 6, 6);
    p.setPen(QPen(QColor(110, 90, 70), 2));
    for (int x = 180; x < 366; x += 8) p.drawLine(QPointF(x, 334), QPointF(x, 354));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 60, 40));
    p.drawEllipse(QPointF(395, 343), 5, 5);
    return image;
}

}  // namespace lumera::art::interface
