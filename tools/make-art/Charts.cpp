#include "Charts.h"

#include <QLocale>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace lumera::art::charts {
namespace {

QRectF titleArea(const QRectF& r) { return {r.left(), r.top(), r.width(), r.height() * 0.14}; }

void drawTitle(QPainter& p, const QRectF& r, const QString& title) {
    p.fillRect(r, QColor(250, 250, 245));
    p.fillRect(titleArea(r), QColor(0, 102, 153));
    p.setPen(Qt::white);
    p.setFont(artFont(r.height() * 0.06, true));
    p.drawText(titleArea(r), Qt::AlignCenter, title);
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF direction = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF normal(-direction.y(), direction.x());
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF(
        {to + direction * width * 2, to + normal * width * 1.8, to - normal * width * 1.8}));
}

}  // namespace

QString decimal(double value) {
    const bool whole = std::abs(value - std::round(value)) < 1e-9;
    return QLocale(QLocale::Portuguese, QLocale::Brazil)
        .toString(value, 'f', whole ? 0 : (value < 1 ? 2 : 1));
}

void barChart(QPainter& p, const QRectF& r, const QString& title, const QVector<Value>& values) {
    drawTitle(p, r, title);
    const QRectF plot(r.left() + r.width() * 0.06, r.top() + r.height() * 0.22, r.width() * 0.88,
                      r.height() * 0.62);
    double highest = 0;
    for (const Value& v : values) highest = std::max(highest, v.value);
    p.setPen(QPen(QColor(180, 180, 180), 1));
    for (int i = 0; i <= 4; ++i) {
        const double y = plot.bottom() - plot.height() * i / 4;
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    const double slot = plot.width() / values.size();
    p.setFont(artFont(std::min(r.height() * 0.035, slot / 5.5)));
    for (int i = 0; i < values.size(); ++i) {
        const double h = plot.height() * values[i].value / highest;
        const QRectF bar(plot.left() + slot * (i + 0.15), plot.bottom() - h, slot * 0.7, h);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromHsv(200 - i * 12, 160, 200));
        p.drawRect(bar);
        p.setPen(QColor(30, 30, 30));
        p.drawText(QRectF(bar.left() - slot * 0.2, bar.top() - r.height() * 0.05, slot * 1.1,
                          r.height() * 0.05),
                   Qt::AlignCenter, decimal(values[i].value));
        p.drawText(QRectF(plot.left() + slot * i, plot.bottom() + 2, slot, r.height() * 0.12),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, values[i].label);
    }
}

void pieChart(QPainter& p, const QRectF& r, const QString& title, const QVector<Value>& values) {
    drawTitle(p, r, title);
    double total = 0;
    for (const Value& v : values) total += v.value;
    const double side = r.height() * 0.6;
    const QRectF pie(r.left() + r.width() * 0.04, r.top() + r.height() * 0.24, side, side);
    double start = 90 * 16;
    p.setFont(artFont(r.height() * 0.038));
    for (int i = 0; i < values.size(); ++i) {
        const QColor colour = QColor::fromHsv(200 + i * 40, 170, 230 - i * 25);
        const double span = -values[i].value / total * 360 * 16;
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(colour);
        p.drawPie(pie, int(start), std::min(-16, int(span)));
        start += span;
        const QRectF key(pie.right() + r.width() * 0.04, pie.top() + i * r.height() * 0.1,
                         r.height() * 0.05, r.height() * 0.05);
        p.setPen(Qt::NoPen);
        p.drawRect(key);
        p.setPen(QColor(30, 30, 30));
        p.drawText(QPointF(key.right() + 6, key.bottom() - 2),
                   values[i].label + QStringLiteral(": ") + decimal(values[i].value) +
                       QStringLiteral("%"));
    }
}

void photosynthesis(QPainter& p, const QRectF& r) {
    drawTitle(p, r, QString::fromUtf8("Fotossíntese"));
    drawSun(p, at(r, 0.12, 0.3), r.height() * 0.07, QColor(255, 200, 40));
    // The leaf in the middle, with its central vein.
    QPainterPath leaf;
    leaf.moveTo(at(r, 0.35, 0.6));
    leaf.quadTo(at(r, 0.5, 0.25), at(r, 0.68, 0.5));
    leaf.quadTo(at(r, 0.5, 0.85), at(r, 0.35, 0.6));
    p.setPen(QPen(QColor(30, 100, 30), 2));
    p.setBrush(QColor(70, 170, 60));
    p.drawPath(leaf);
    p.drawLine(at(r, 0.35, 0.6), at(r, 0.66, 0.51));
    const double w = r.height() * 0.012;
    arrow(p, at(r, 0.18, 0.36), at(r, 0.38, 0.5), QColor(230, 170, 0), w);
    arrow(p, at(r, 0.12, 0.75), at(r, 0.36, 0.66), QColor(120, 120, 120), w);
    arrow(p, at(r, 0.48, 0.95), at(r, 0.48, 0.74), QColor(40, 120, 220), w);
    arrow(p, at(r, 0.68, 0.45), at(r, 0.86, 0.35), QColor(60, 170, 220), w);
    arrow(p, at(r, 0.66, 0.58), at(r, 0.86, 0.7), QColor(200, 120, 40), w);
    p.setPen(QColor(20, 20, 20));
    p.setFont(artFont(r.height() * 0.055, true));
    p.drawText(at(r, 0.2, 0.5), QStringLiteral("Luz"));
    p.drawText(at(r, 0.03, 0.85), QString::fromUtf8("Gás carbônico"));
    p.drawText(at(r, 0.52, 0.95), QString::fromUtf8("Água"));
    p.drawText(at(r, 0.76, 0.3), QString::fromUtf8("Oxigênio"));
    p.drawText(at(r, 0.76, 0.8), QString::fromUtf8("Açúcar"));
}

void cosmicTimeline(QPainter& p, const QRectF& r, const QVector<Value>& eventsInBillionYears) {
    fillVertical(p, r, QColor(10, 10, 40), QColor(40, 20, 70));
    // Evenly spaced: on a true scale the first three events would overlap.
    const double y = r.center().y();
    const double step = 0.88 / std::max<qsizetype>(1, eventsInBillionYears.size() - 1);
    arrow(p, at(r, 0.05, 0.5), at(r, 0.95, 0.5), QColor(240, 220, 150), r.height() * 0.012);
    p.setFont(artFont(r.height() * 0.045, true));
    for (int i = 0; i < eventsInBillionYears.size(); ++i) {
        const Value& event = eventsInBillionYears[i];
        const double x = r.left() + r.width() * (0.05 + step * i);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromHsv(30 + i * 40, 180, 255));
        p.drawEllipse(QPointF(x, y), r.height() * 0.02, r.height() * 0.02);
        const bool above = i % 2 == 0;
        const QRectF box(x - r.width() * 0.08, above ? y - r.height() * 0.3 : y + r.height() * 0.06,
                         r.width() * 0.16, r.height() * 0.3);
        p.setPen(QColor(240, 240, 255));
        p.drawText(box,
                   Qt::AlignHCenter | (above ? Qt::AlignBottom : Qt::AlignTop) | Qt::TextWordWrap,
                   event.label + QStringLiteral("\n") + decimal(event.value) +
                       QString::fromUtf8(" bi anos atrás"));
    }
}

}  // namespace lumera::art::charts
