#include "Flags.h"

#include <cmath>

namespace lumera::art::flags {
namespace {

constexpr double kPi = 3.14159265358979;

const QColor kGreen(0, 150, 60);
const QColor kYellow(255, 205, 0);
const QColor kRed(210, 20, 30);
const QColor kBlack(20, 20, 20);

void star(QPainter& p, QPointF centre, double radius, const QColor& colour) {
    QPolygonF points;
    for (int i = 0; i < 10; ++i) {
        const double angle = -kPi / 2 + i * kPi / 5;
        const double rad = i % 2 == 0 ? radius : radius * 0.38;
        points << centre + QPointF(std::cos(angle) * rad, std::sin(angle) * rad);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(points);
}

void band(QPainter& p, const QRectF& r, double from, double to, const QColor& colour) {
    p.fillRect(QRectF(r.left(), r.top() + r.height() * from, r.width(), r.height() * (to - from)),
               colour);
}

void hoistTriangle(QPainter& p, const QRectF& r, double depth, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({r.topLeft(), r.bottomLeft(), at(r, depth, 0.5)}));
}

}  // namespace

void brasil(QPainter& p, const QRectF& r) {
    p.fillRect(r, kGreen);
    p.setPen(Qt::NoPen);
    p.setBrush(kYellow);
    p.drawPolygon(
        QPolygonF({at(r, 0.5, 0.08), at(r, 0.92, 0.5), at(r, 0.5, 0.92), at(r, 0.08, 0.5)}));
    p.setBrush(QColor(30, 40, 130));
    const double radius = r.height() * 0.25;
    p.drawEllipse(r.center(), radius, radius);
    p.setPen(QPen(Qt::white, r.height() * 0.04));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(r.center() - QPointF(radius * 1.6, radius * 0.6),
                     QSizeF(radius * 3.2, radius * 3.4)),
              55 * 16, 70 * 16);
    for (int i = 0; i < 9; ++i)
        star(p,
             r.center() + QPointF(std::cos(i * 0.7) * radius * 0.55,
                                  radius * 0.2 + std::sin(i * 1.3) * radius * 0.4),
             radius * 0.07, Qt::white);
}

void portugal(QPainter& p, const QRectF& r) {
    p.fillRect(QRectF(r.left(), r.top(), r.width() * 0.4, r.height()), QColor(0, 102, 0));
    p.fillRect(QRectF(r.left() + r.width() * 0.4, r.top(), r.width() * 0.6, r.height()),
               QColor(255, 0, 0));
    const QPointF centre = at(r, 0.4, 0.5);
    const double radius = r.height() * 0.27;
    // Armillary sphere behind the shield.
    p.setPen(QPen(kYellow, r.height() * 0.035));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius, radius);
    p.drawLine(centre - QPointF(radius, 0), centre + QPointF(radius, 0));
    p.drawEllipse(centre, radius, radius * 0.35);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const QRectF shield(centre - QPointF(radius * 0.5, radius * 0.6), QSizeF(radius, radius * 1.2));
    p.drawRoundedRect(shield, radius * 0.15, radius * 0.15);
    p.setBrush(kRed);
    p.drawRoundedRect(shield.adjusted(radius * 0.1, radius * 0.1, -radius * 0.1, -radius * 0.1),
                      radius * 0.1, radius * 0.1);
    p.setBrush(QColor(0, 50, 160));
    const QRectF inner =
        shield.adjusted(radius * 0.25, radius * 0.25, -radius * 0.25, -radius * 0.25);
    for (int i = 0; i < 5; ++i) {
        const QPointF dot = i == 4 ? inner.center()
                                   : QPointF(i % 2 ? inner.right() : inner.left(),
                                             i < 2 ? inner.top() : inner.bottom());
        p.drawRect(QRectF(dot - QPointF(radius * 0.08, radius * 0.1),
                          QSizeF(radius * 0.16, radius * 0.2)));
    }
}

void angola(QPainter& p, const QRectF& r) {
    band(p, r, 0, 0.5, kRed);
    band(p, r, 0.5, 1, kBlack);
    const QPointF c = r.center();
    const double s = r.height() * 0.3;
    p.setPen(QPen(kYellow, s * 0.16));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c - QPointF(s, s), QSizeF(2 * s, 2 * s)), -30 * 16, 220 * 16);
    p.drawLine(c + QPointF(-s * 0.7, s * 0.7), c + QPointF(s * 0.5, -s * 0.5));
    star(p, c + QPointF(-s * 0.2, -s * 0.05), s * 0.35, kYellow);
}

void mocambique(QPainter& p, const QRectF& r) {
    band(p, r, 0, 1.0 / 3, QColor(0, 150, 110));
    band(p, r, 1.0 / 3, 2.0 / 3, kBlack);
    band(p, r, 2.0 / 3, 1, kYellow);
    band(p, r, 0.31, 0.35, Qt::white);
    band(p, r, 0.65, 0.69, Qt::white);
    hoistTriangle(p, r, 0.45, kRed);
    star(p, at(r, 0.16, 0.5), r.height() * 0.2, kYellow);
}

void caboVerde(QPainter& p, const QRectF& r) {
    p.fillRect(r, QColor(0, 60, 160));
    band(p, r, 0.5, 0.75, Qt::white);
    band(p, r, 0.58, 0.67, kRed);
    const QPointF c = at(r, 0.38, 0.62);
    for (int i = 0; i < 10; ++i) {
        const double angle = i * 2 * kPi / 10;
        star(p, c + QPointF(std::cos(angle), std::sin(angle)) * r.height() * 0.25,
             r.height() * 0.05, kYellow);
    }
}

void guineBissau(QPainter& p, const QRectF& r) {
    band(p, r, 0, 0.5, kYellow);
    band(p, r, 0.5, 1, kGreen);
    p.fillRect(QRectF(r.left(), r.top(), r.width() / 3, r.height()), kRed);
    star(p, at(r, 1.0 / 6, 0.5), r.height() * 0.18, kBlack);
}

void saoTome(QPainter& p, const QRectF& r) {
    band(p, r, 0, 1.0 / 3, kGreen);
    band(p, r, 1.0 / 3, 2.0 / 3, kYellow);
    band(p, r, 2.0 / 3, 1, kGreen);
    hoistTriangle(p, r, 0.25, kRed);
    star(p, at(r, 0.48, 0.5), r.height() * 0.13, kBlack);
    star(p, at(r, 0.72, 0.5), r.height() * 0.13, kBlack);
}

void timorLeste(QPainter& p, const QRectF& r) {
    p.fillRect(r, kRed);
    hoistTriangle(p, r, 0.5, kYellow);
    hoistTriangle(p, r, 0.33, kBlack);
    star(p, at(r, 0.12, 0.5), r.height() * 0.13, Qt::white);
}

}  // namespace lumera::art::flags
