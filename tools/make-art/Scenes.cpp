#include "Scenes.h"

#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace lumera::art::scenes {
namespace {

constexpr double kPi = 3.14159265358979;

void daySky(QPainter& p, const QRectF& r, double horizon) {
    fillVertical(p, QRectF(r.left(), r.top(), r.width(), horizon - r.top()), QColor(90, 150, 220),
                 QColor(200, 225, 245));
}

void sea(QPainter& p, const QRectF& r, double horizon, Rng& rng) {
    const QRectF water(r.left(), horizon, r.width(), r.bottom() - horizon);
    fillVertical(p, water, QColor(40, 110, 160), QColor(20, 60, 110));
    p.setPen(QPen(QColor(255, 255, 255, 70), std::max(1.0, r.width() / 300)));
    for (int i = 0; i < 40; ++i) {
        const double y = horizon + rng.uniform(0.05, 1) * water.height();
        const double x = r.left() + rng.uniform(0, 1) * r.width();
        const double len = r.width() * rng.uniform(0.02, 0.07);
        p.drawLine(QPointF(x, y), QPointF(x + len, y));
    }
}

void fillShape(QPainter& p, const QPolygonF& shape, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(shape);
}

void tree(QPainter& p, QPointF foot, double height, const QColor& leaves) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 60, 30));
    p.drawRect(
        QRectF(foot.x() - height * 0.04, foot.y() - height * 0.45, height * 0.08, height * 0.45));
    p.setBrush(leaves);
    p.drawEllipse(QPointF(foot.x(), foot.y() - height * 0.65), height * 0.3, height * 0.35);
    p.setBrush(leaves.lighter(115));
    p.drawEllipse(QPointF(foot.x() - height * 0.1, foot.y() - height * 0.75), height * 0.15,
                  height * 0.15);
}

void starryNight(QPainter& p, const QRectF& r, Rng& rng, int count) {
    p.fillRect(r, QColor(5, 8, 25));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const int shade = 150 + rng.below(105);
        p.setBrush(QColor(shade, shade, 255));
        const double size = rng.uniform(0.4, 1.6) * r.width() / 400;
        p.drawEllipse(at(r, rng.uniform(0, 1), rng.uniform(0, 1)), size, size);
    }
}

void sphere(QPainter& p, QPointF centre, double radius, const QColor& colour) {
    QRadialGradient shade(centre - QPointF(radius * 0.4, radius * 0.4), radius * 1.4);
    shade.setColorAt(0, colour.lighter(150));
    shade.setColorAt(0.6, colour);
    shade.setColorAt(1, colour.darker(300));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawEllipse(centre, radius, radius);
}

void person(QPainter& p, QPointF foot, double height, const QColor& colour, double armLift) {
    p.setPen(QPen(colour, height * 0.09, Qt::SolidLine, Qt::RoundCap));
    const QPointF hip = foot - QPointF(0, height * 0.45);
    const QPointF neck = foot - QPointF(0, height * 0.82);
    p.drawLine(hip, neck);
    p.drawLine(hip, foot + QPointF(-height * 0.12, 0));
    p.drawLine(hip, foot + QPointF(height * 0.12, 0));
    p.drawLine(neck, neck + QPointF(-height * 0.22, height * (0.2 - armLift)));
    p.drawLine(neck, neck + QPointF(height * 0.22, height * (0.2 - armLift)));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(neck - QPointF(0, height * 0.1), height * 0.08, height * 0.09);
}

}  // namespace

void mountainBay(QPainter& p, const QRectF& r, Rng& rng, bool statueOnPeak) {
    const double horizon = r.top() + r.height() * 0.62;
    daySky(p, r, horizon);
    drawSun(p, at(r, 0.82, 0.16), r.width() * 0.04, QColor(255, 240, 180));
    fillShape(p, hillOutline(r, horizon, r.height() * 0.12, 3, rng), QColor(70, 110, 80));
    // The rounded granite peak rising from the bay.
    QPainterPath peak;
    const double baseLeft = r.left() + r.width() * (statueOnPeak ? 0.25 : 0.55);
    const double baseRight = baseLeft + r.width() * 0.3;
    const double top = r.top() + r.height() * (statueOnPeak ? 0.22 : 0.18);
    peak.moveTo(baseLeft, horizon);
    peak.cubicTo(baseLeft + r.width() * 0.05, top, baseRight - r.width() * 0.12, top, baseRight,
                 horizon);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(95, 105, 100));
    p.drawPath(peak);
    p.setBrush(QColor(60, 110, 60));
    p.drawEllipse(QPointF((baseLeft + baseRight) / 2, horizon), r.width() * 0.17,
                  r.height() * 0.08);
    if (statueOnPeak) {
        const double cx = (baseLeft + baseRight) / 2 - r.width() * 0.02;
        const double cy = top + r.height() * 0.1;
        const double h = r.height() * 0.11;
        p.setBrush(QColor(235, 235, 225));
        p.drawRect(QRectF(cx - h * 0.08, cy - h, h * 0.16, h));
        p.drawRect(QRectF(cx - h * 0.45, cy - h * 0.82, h * 0.9, h * 0.1));
        p.drawEllipse(QPointF(cx, cy - h * 1.07), h * 0.08, h * 0.09);
    }
    sea(p, r, horizon, rng);
    for (int i = 0; i < 3; ++i) {
        const QPointF boat = at(r, rng.uniform(0.1, 0.9), rng.uniform(0.72, 0.92));
        fillShape(p,
                  QPolygonF({boat, boat + QPointF(r.width() * 0.04, 0),
                             boat + QPointF(r.width() * 0.02, -r.height() * 0.05)}),
                  Qt::white);
    }
}

void tower(QPainter& p, const QRectF& r, Rng& rng) {
    const double horizon = r.top() + r.height() * 0.72;
    daySky(p, r, horizon);
    sea(p, r, horizon, rng);
    const QColor stone(225, 215, 190);
    const double cx = r.center().x();
    const double w = r.width() * 0.28;
    // Bastion at the water line, square tower on top, turrets at its corners.
    p.setPen(Qt::NoPen);
    p.setBrush(stone.darker(110));
    p.drawRect(QRectF(cx - w * 0.9, horizon - r.height() * 0.12, w * 1.8, r.height() * 0.16));
    p.setBrush(stone);
    const QRectF body(cx - w / 2, r.top() + r.height() * 0.22, w,
                      horizon - r.top() - r.height() * 0.34);
    p.drawRect(body);
    for (int i = 0; i < 5; ++i)
        p.drawRect(QRectF(body.left() + i * w / 4.5, body.top() - r.height() * 0.03, w / 9,
                          r.height() * 0.03));
    for (double side : {body.left(), body.right()}) {
        p.setBrush(stone.darker(105));
        p.drawEllipse(QPointF(side, body.top() + r.height() * 0.04), w * 0.09, w * 0.12);
    }
    p.setBrush(QColor(70, 60, 50));
    for (int row = 0; row < 3; ++row)
        p.drawRect(QRectF(cx - w * 0.08, body.top() + body.height() * (0.18 + row * 0.25), w * 0.16,
                          body.height() * 0.12));
}

void ruinedFacade(QPainter& p, const QRectF& r, Rng& rng, bool gothicArches) {
    daySky(p, r, r.bottom());
    const QColor stone = gothicArches ? QColor(200, 190, 170) : QColor(180, 160, 130);
    const QRectF wall(r.left() + r.width() * 0.15, r.top() + r.height() * 0.2, r.width() * 0.7,
                      r.height() * 0.7);
    p.setPen(Qt::NoPen);
    p.setBrush(stone);
    QPolygonF outline;
    if (gothicArches) {
        outline = QPolygonF(QRectF(wall.adjusted(0, wall.height() * 0.2, 0, 0)));
    } else {
        outline << wall.bottomLeft() << wall.topLeft() + QPointF(0, wall.height() * 0.3)
                << QPointF(wall.center().x(), wall.top())
                << wall.topRight() + QPointF(0, wall.height() * 0.3) << wall.bottomRight();
    }
    p.drawPolygon(outline);
    // Empty openings: the sky shows through where roof and windows were.
    p.setBrush(QColor(150, 195, 235));
    const int columns = gothicArches ? 3 : 4;
    for (int c = 0; c < columns; ++c) {
        const double x = wall.left() + wall.width() * (0.1 + c * 0.8 / columns);
        const double width = wall.width() * 0.8 / columns * 0.6;
        const double top = wall.top() + wall.height() * (gothicArches ? 0.45 : 0.45);
        QPainterPath arch;
        arch.moveTo(x, wall.bottom());
        arch.lineTo(x, top + width);
        if (gothicArches) {
            arch.quadTo(x, top, x + width / 2, top - width * 0.4);
            arch.quadTo(x + width, top, x + width, top + width);
        } else {
            arch.arcTo(QRectF(x, top, width, width * 1.2), 180, -180);
        }
        arch.lineTo(x + width, wall.bottom());
        p.drawPath(arch);
    }
    p.setBrush(QColor(120, 110, 90));
    p.drawRect(QRectF(r.left(), wall.bottom(), r.width(), r.bottom() - wall.bottom()));
    for (int i = 0; i < 12; ++i) {
        p.setBrush(stone.darker(100 + rng.below(40)));
        p.drawRect(QRectF(at(r, rng.uniform(0, 0.95), rng.uniform(0.91, 0.97)),
                          QSizeF(r.width() * 0.04, r.height() * 0.02)));
    }
}

void islandTown(QPainter& p, const QRectF& r, Rng& rng) {
    const double horizon = r.top() + r.height() * 0.55;
    daySky(p, r, horizon);
    sea(p, r, horizon, rng);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(225, 210, 160));
    p.drawEllipse(QRectF(r.left() + r.width() * 0.05, horizon - r.height() * 0.05, r.width() * 0.9,
                         r.height() * 0.14));
    for (int i = 0; i < 14; ++i) {
        const double x = r.left() + r.width() * (0.12 + i * 0.045);
        const double h = r.height() * rng.uniform(0.05, 0.12);
        p.setBrush(QColor::fromHsv(30 + rng.below(30), 40 + rng.below(60), 200 + rng.below(55)));
        p.drawRect(QRectF(x, horizon - h, r.width() * 0.04, h));
    }
    // Fortress at the tip of the island.
    p.setBrush(QColor(170, 150, 120));
    const QRectF fort(r.left() + r.width() * 0.76, horizon - r.height() * 0.1, r.width() * 0.15,
                      r.height() * 0.1);
    p.drawRect(fort);
    for (int i = 0; i < 4; ++i)
        p.drawRect(QRectF(fort.left() + i * fort.width() / 3.5, fort.top() - r.height() * 0.025,
                          fort.width() / 7, r.height() * 0.025));
    tree(p, at(r, 0.08, 0.57), r.height() * 0.2, QColor(40, 120, 50));
}

void volcano(QPainter& p, const QRectF& r, Rng& rng, bool needle) {
    const double horizon = r.top() + r.height() * 0.75;
    daySky(p, r, horizon);
    sea(p, r, horizon, rng);
    QPolygonF cone;
    if (needle) {
        fillShape(p, hillOutline(r, horizon, r.height() * 0.2, 2, rng), QColor(30, 110, 45));
        cone << at(r, 0.38, 0.75) << at(r, 0.44, 0.2) << at(r, 0.48, 0.12) << at(r, 0.53, 0.14)
             << at(r, 0.57, 0.3) << at(r, 0.62, 0.75);
        fillShape(p, cone, QColor(85, 90, 85));
        for (int i = 0; i < 30; ++i)
            tree(p, at(r, rng.uniform(0, 1), rng.uniform(0.7, 0.8)), r.height() * 0.08,
                 QColor(20, 100 + rng.below(60), 30));
    } else {
        cone << at(r, 0.05, 0.75) << at(r, 0.4, 0.25) << at(r, 0.48, 0.22) << at(r, 0.56, 0.24)
             << at(r, 0.95, 0.75);
        fillShape(p, cone, QColor(110, 80, 65));
        fillShape(p,
                  QPolygonF({at(r, 0.4, 0.25), at(r, 0.48, 0.22), at(r, 0.56, 0.24),
                             at(r, 0.52, 0.32), at(r, 0.44, 0.31)}),
                  QColor(80, 60, 50));
        p.setBrush(QColor(230, 230, 230, 150));
        for (int i = 0; i < 5; ++i)
            p.drawEllipse(at(r, 0.5 + i * 0.04, 0.18 - i * 0.03), r.width() * (0.03 + i * 0.01),
                          r.height() * 0.03);
    }
}

void levada(QPainter& p, const QRectF& r, Rng& rng) {
    daySky(p, r, r.top() + r.height() * 0.4);
    fillShape(p, hillOutline(r, r.top() + r.height() * 0.45, r.height() * 0.25, 2, rng),
              QColor(60, 120, 70));
    fillShape(p, hillOutline(r, r.top() + r.height() * 0.6, r.height() * 0.2, 3, rng),
              QColor(40, 140, 60));
    // The channel runs along the slope towards the viewer.
    fillShape(p,
              QPolygonF({at(r, 0.55, 0.55), at(r, 0.6, 0.55), at(r, 0.95, 1.0), at(r, 0.55, 1.0)}),
              QColor(150, 140, 120));
    fillShape(p,
              QPolygonF({at(r, 0.56, 0.56), at(r, 0.59, 0.56), at(r, 0.8, 1.0), at(r, 0.65, 1.0)}),
              QColor(70, 150, 200));
    for (int i = 0; i < 25; ++i)
        tree(p, at(r, rng.uniform(0, 0.5), rng.uniform(0.6, 1.0)), r.height() * 0.15,
             QColor(30, 90 + rng.below(70), 40));
}

void riverForest(QPainter& p, const QRectF& r, Rng& rng) {
    const double horizon = r.top() + r.height() * 0.45;
    daySky(p, r, horizon);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 100, 40));
    p.drawRect(QRectF(r.left(), horizon, r.width(), r.bottom() - horizon));
    QPainterPath river;
    river.moveTo(at(r, 0.42, 0.45));
    river.cubicTo(at(r, 0.2, 0.6), at(r, 0.8, 0.75), at(r, 0.3, 1.0));
    river.lineTo(at(r, 0.9, 1.0));
    river.cubicTo(at(r, 1.0, 0.7), at(r, 0.4, 0.6), at(r, 0.5, 0.45));
    p.setBrush(QColor(175, 135, 80));
    p.drawPath(river);
    for (int i = 0; i < 90; ++i) {
        const QPointF foot = at(r, rng.uniform(0, 1), rng.uniform(0.45, 0.6));
        if (std::abs(foot.x() - r.center().x()) < r.width() * 0.08) continue;
        tree(p, foot, r.height() * rng.uniform(0.12, 0.22), QColor(20, 90 + rng.below(80), 30));
    }
}

void forest(QPainter& p, const QRectF& r, Rng& rng) {
    fillVertical(p, r, QColor(120, 170, 90), QColor(20, 60, 25));
    for (int layer = 0; layer < 4; ++layer)
        for (int i = 0; i < 30; ++i) {
            const QPointF foot = at(r, rng.uniform(-0.1, 1.1), 0.4 + layer * 0.2);
            tree(p, foot, r.height() * (0.3 + layer * 0.1),
                 QColor(10 + layer * 5, 70 + rng.below(50) + layer * 15, 20));
        }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 60, 40));  // a macaw among the leaves
    p.drawEllipse(at(r, 0.3, 0.5), r.width() * 0.02, r.width() * 0.015);
    p.setBrush(QColor(40, 90, 200));
    p.drawEllipse(at(r, 0.31, 0.52), r.width() * 0.012, r.width() * 0.02);
}

void tram(QPainter& p, const QRectF& r, Rng& rng) {
    hillTown(p, QRectF(r.left(), r.top(), r.width(), r.height() * 0.55), rng);
    p.fillRect(QRectF(r.left(), r.top() + r.height() * 0.55, r.width(), r.height() * 0.45),
               QColor(120, 115, 110));
    p.setPen(QPen(QColor(60, 60, 60), r.width() * 0.01));
    p.drawLine(at(r, 0.35, 1.0), at(r, 0.45, 0.6));
    p.drawLine(at(r, 0.75, 1.0), at(r, 0.6, 0.6));
    // The yellow car with its trolley pole.
    const QRectF car(r.left() + r.width() * 0.2, r.top() + r.height() * 0.42, r.width() * 0.6,
                     r.height() * 0.4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 200, 30));
    p.drawRoundedRect(car, car.width() * 0.08, car.width() * 0.08);
    p.setBrush(Qt::white);
    p.drawRect(
        QRectF(car.left(), car.top() + car.height() * 0.72, car.width(), car.height() * 0.08));
    p.setBrush(QColor(50, 70, 90));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(car.left() + car.width() * (0.08 + i * 0.3),
                          car.top() + car.height() * 0.12, car.width() * 0.24, car.height() * 0.3));
    p.setPen(QPen(QColor(40, 40, 40), r.width() * 0.008));
    p.drawLine(QPointF(car.center().x(), car.top()), at(r, 0.7, 0.3));
}

void hillTown(QPainter& p, const QRectF& r, Rng& rng) {
    daySky(p, r, r.bottom());
    for (int row = 0; row < 6; ++row)
        for (int i = 0; i < 10; ++i) {
            const double x = r.left() + r.width() * (i * 0.115 + (row % 2) * 0.05 - 0.05);
            const double y = r.top() + r.height() * (0.35 + row * 0.12);
            const double w = r.width() * 0.11;
            const double h = r.height() * 0.14;
            p.setPen(Qt::NoPen);
            p.setBrush(QColor::fromHsv(rng.below(50), 30 + rng.below(60), 215 + rng.below(40)));
            p.drawRect(QRectF(x, y, w, h));
            p.setBrush(QColor(190, 90, 50));
            p.drawPolygon(QPolygonF({QPointF(x - w * 0.05, y), QPointF(x + w / 2, y - h * 0.35),
                                     QPointF(x + w * 1.05, y)}));
            p.setBrush(QColor(70, 80, 100));
            p.drawRect(QRectF(x + w * 0.35, y + h * 0.3, w * 0.25, h * 0.3));
        }
}

void lakeCrater(QPainter& p, const QRectF& r, Rng& rng) {
    daySky(p, r, r.top() + r.height() * 0.35);
    fillShape(p, hillOutline(r, r.top() + r.height() * 0.4, r.height() * 0.15, 2, rng),
              QColor(50, 120, 60));
    p.fillRect(QRectF(r.left(), r.top() + r.height() * 0.4, r.width(), r.height() * 0.6),
               QColor(70, 140, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 110, 150));  // the blue lake
    p.drawEllipse(QRectF(at(r, 0.05, 0.5), at(r, 0.5, 0.85)));
    p.setBrush(QColor(60, 150, 120));  // the green lake
    p.drawEllipse(QRectF(at(r, 0.52, 0.52), at(r, 0.95, 0.82)));
    p.setBrush(QColor(90, 160, 80));
    p.drawRect(QRectF(at(r, 0.47, 0.62), at(r, 0.55, 0.7)));
}

void caravel(QPainter& p, const QRectF& r, Rng& rng) {
    const double horizon = r.top() + r.height() * 0.68;
    daySky(p, r, horizon);
    sea(p, r, horizon, rng);
    const double cx = r.center().x();
    const double w = r.width() * 0.7;
    QPainterPath hull;
    hull.moveTo(cx - w / 2, horizon - r.height() * 0.08);
    hull.lineTo(cx + w / 2, horizon - r.height() * 0.1);
    hull.quadTo(cx + w * 0.35, horizon + r.height() * 0.06, cx, horizon + r.height() * 0.06);
    hull.quadTo(cx - w * 0.4, horizon + r.height() * 0.05, cx - w / 2, horizon - r.height() * 0.08);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 70, 35));
    p.drawPath(hull);
    // Lateen sails, each with the red cross of the Order of Christ.
    const double mastBase = horizon - r.height() * 0.08;
    const double offsets[] = {-0.22, 0.05, 0.28};
    const double heights[] = {0.42, 0.55, 0.38};
    for (int i = 0; i < 3; ++i) {
        const double x = cx + w * offsets[i];
        const double top = mastBase - r.height() * heights[i];
        p.setPen(QPen(QColor(70, 45, 20), r.width() * 0.008));
        p.drawLine(QPointF(x, mastBase), QPointF(x, top));
        const QPolygonF sail({QPointF(x, top), QPointF(x + w * 0.16, mastBase - r.height() * 0.05),
                              QPointF(x - w * 0.03, mastBase - r.height() * 0.04)});
        fillShape(p, sail, QColor(245, 240, 225));
        const QPointF mid = (sail[0] + sail[1] + sail[2]) / 3;
        const double arm = r.width() * 0.025;
        p.setPen(QPen(QColor(200, 30, 30), arm * 0.6));
        p.drawLine(mid - QPointF(0, arm), mid + QPointF(0, arm));
        p.drawLine(mid - QPointF(arm, 0), mid + QPointF(arm, 0));
    }
}

void carnation(QPainter& p, const QRectF& r, Rng& rng) {
    fillVertical(p, r, QColor(250, 245, 235), QColor(225, 215, 200));
    p.setPen(QPen(QColor(50, 120, 60), r.width() * 0.025, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at(r, 0.5, 0.95), at(r, 0.5, 0.4));
    p.drawLine(at(r, 0.5, 0.7), at(r, 0.35, 0.6));
    p.setPen(Qt::NoPen);
    const QPointF head = at(r, 0.5, 0.33);
    for (int i = 0; i < 22; ++i) {
        const double angle = rng.uniform(-kPi, 0.2);
        const double dist = r.width() * rng.uniform(0.03, 0.18);
        p.setBrush(QColor(200 + rng.below(50), 10 + rng.below(30), 30 + rng.below(20)));
        p.drawEllipse(head + QPointF(std::cos(angle) * dist, std::sin(angle) * dist * 0.6),
                      r.width() * 0.08, r.width() * 0.05);
    }
    p.setBrush(QColor(60, 130, 70));
    p.drawPolygon(QPolygonF({head + QPointF(-r.width() * 0.07, r.height() * 0.02),
                             head + QPointF(r.width() * 0.07, r.height() * 0.02),
                             head + QPointF(0, r.height() * 0.09)}));
}

void waterDrop(QPainter& p, const QRectF& r) {
    fillVertical(p, r, QColor(30, 80, 140), QColor(10, 30, 70));
    QPainterPath drop;
    const QPointF tip = at(r, 0.5, 0.15);
    drop.moveTo(tip);
    drop.cubicTo(at(r, 0.55, 0.35), at(r, 0.78, 0.5), at(r, 0.75, 0.62));
    drop.arcTo(QRectF(at(r, 0.25, 0.42), at(r, 0.75, 0.82)), 0, -180);
    drop.cubicTo(at(r, 0.22, 0.5), at(r, 0.45, 0.35), tip);
    QRadialGradient shade(at(r, 0.42, 0.55), r.width() * 0.35);
    shade.setColorAt(0, QColor(220, 240, 255));
    shade.setColorAt(1, QColor(60, 150, 220));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawPath(drop);
    p.setPen(QPen(QColor(150, 200, 240, 160), r.width() * 0.01));
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 3; ++i)
        p.drawEllipse(at(r, 0.5, 0.9), r.width() * 0.12 * i, r.height() * 0.02 * i);
}

void planets(QPainter& p, const QRectF& r, Rng& rng) {
    starryNight(p, r, rng, 250);
    drawSun(p, at(r, -0.05, 0.5), r.height() * 0.45, QColor(255, 200, 60));
    const QColor colours[] = {QColor(170, 160, 150), QColor(230, 200, 140), QColor(60, 120, 200),
                              QColor(200, 90, 50),   QColor(210, 170, 120), QColor(220, 200, 150),
                              QColor(150, 210, 220), QColor(70, 100, 220)};
    const double sizes[] = {0.015, 0.03, 0.032, 0.022, 0.09, 0.075, 0.045, 0.043};
    double x = 0.36;
    for (int i = 0; i < 8; ++i) {
        const double radius = sizes[i] * r.width() * 0.5;
        x += sizes[i] * 0.5 + 0.022;
        const QPointF centre = at(r, x, 0.5);
        sphere(p, centre, radius, colours[i]);
        if (i == 5) {
            p.setPen(QPen(QColor(230, 210, 160), radius * 0.15));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(centre, radius * 1.7, radius * 0.4);
        }
        x += sizes[i] * 0.5;
    }
}

void orbits(QPainter& p, const QRectF& r, Rng& rng) {
    starryNight(p, r, rng, 150);
    const QPointF sun = r.center();
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 6; ++i) {
        p.setPen(QPen(QColor(120, 140, 200, 140), 1));
        p.setBrush(Qt::NoBrush);
        const double a = r.width() * 0.07 * i;
        p.drawEllipse(sun, a, a * 0.4);
        const double angle = rng.uniform(0, 2 * kPi);
        sphere(p, sun + QPointF(std::cos(angle) * a, std::sin(angle) * a * 0.4),
               r.width() * (0.008 + 0.004 * i), QColor::fromHsv(rng.below(360), 120, 220));
    }
    drawSun(p, sun, r.width() * 0.035, QColor(255, 210, 80));
}

void earthFromSpace(QPainter& p, const QRectF& r, Rng& rng) {
    starryNight(p, r, rng, 200);
    const QPointF centre = r.center();
    const double radius = std::min(r.width(), r.height()) * 0.38;
    sphere(p, centre, radius, QColor(40, 100, 190));
    p.save();
    QPainterPath clip;
    clip.addEllipse(centre, radius, radius);
    p.setClipPath(clip);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 7; ++i) {
        p.setBrush(QColor(70 + rng.below(60), 130 + rng.below(40), 60));
        p.drawEllipse(
            centre + QPointF(rng.uniform(-0.7, 0.7) * radius, rng.uniform(-0.7, 0.7) * radius),
            radius * rng.uniform(0.15, 0.35), radius * rng.uniform(0.1, 0.3));
    }
    p.setBrush(QColor(255, 255, 255, 150));
    for (int i = 0; i < 12; ++i)
        p.drawEllipse(
            centre + QPointF(rng.uniform(-0.9, 0.9) * radius, rng.uniform(-0.9, 0.9) * radius),
            radius * rng.uniform(0.1, 0.3), radius * 0.05);
    p.restore();
}

void galaxy(QPainter& p, const QRectF& r, Rng& rng) {
    starryNight(p, r, rng, 300);
    const QPointF centre = r.center();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 1400; ++i) {
        const int arm = i % 2;
        const double t = rng.uniform(0, 1);
        const double angle = arm * kPi + t * 3.5 * kPi + rng.uniform(-0.35, 0.35);
        const double dist = t * r.width() * 0.4;
        const QPointF pos = centre + QPointF(std::cos(angle) * dist, std::sin(angle) * dist * 0.55);
        p.setBrush(QColor(200 + rng.below(55), 200 + rng.below(55), 255, 90 + rng.below(120)));
        p.drawEllipse(pos, 1.0, 1.0);
    }
    drawSun(p, centre, r.width() * 0.03, QColor(255, 240, 200));
}

void biplane(QPainter& p, const QRectF& r, Rng& rng) {
    daySky(p, r, r.top() + r.height() * 0.85);
    p.fillRect(QRectF(r.left(), r.top() + r.height() * 0.85, r.width(), r.height() * 0.15),
               QColor(110, 160, 80));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(at(r, rng.uniform(0, 1), rng.uniform(0.1, 0.3)), r.width() * 0.08,
                      r.height() * 0.04);
    // Box-kite wings with the canard cell in front, as on the 1906 machine.
    p.setPen(QPen(QColor(90, 70, 50), r.width() * 0.004));
    p.setBrush(QColor(235, 225, 195));
    p.drawRect(QRectF(at(r, 0.45, 0.38), at(r, 0.85, 0.42)));
    p.drawRect(QRectF(at(r, 0.45, 0.5), at(r, 0.85, 0.54)));
    for (double x : {0.45, 0.58, 0.72, 0.85}) p.drawLine(at(r, x, 0.42), at(r, x, 0.5));
    p.drawLine(at(r, 0.5, 0.47), at(r, 0.15, 0.46));
    p.drawRect(QRectF(at(r, 0.1, 0.42), at(r, 0.2, 0.5)));
    p.drawLine(at(r, 0.6, 0.54), at(r, 0.58, 0.68));
    p.drawLine(at(r, 0.7, 0.54), at(r, 0.72, 0.68));
    p.setBrush(QColor(40, 40, 40));
    p.drawEllipse(at(r, 0.58, 0.69), r.width() * 0.015, r.width() * 0.015);
    p.drawEllipse(at(r, 0.72, 0.69), r.width() * 0.015, r.width() * 0.015);
}

void guitar(QPainter& p, const QRectF& r, bool pearShaped) {
    fillVertical(p, r, QColor(90, 40, 30), QColor(40, 15, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(pearShaped ? QColor(220, 170, 100) : QColor(200, 140, 70));
    if (pearShaped) {
        p.drawEllipse(QRectF(at(r, 0.2, 0.45), at(r, 0.8, 0.92)));
        p.drawEllipse(QRectF(at(r, 0.3, 0.35), at(r, 0.7, 0.62)));
    } else {
        p.drawEllipse(QRectF(at(r, 0.22, 0.55), at(r, 0.78, 0.93)));
        p.drawEllipse(QRectF(at(r, 0.28, 0.36), at(r, 0.72, 0.66)));
    }
    p.setBrush(QColor(30, 20, 15));
    p.drawEllipse(at(r, 0.5, 0.6), r.width() * 0.07, r.width() * 0.07);
    p.setBrush(QColor(70, 40, 20));
    p.drawRect(QRectF(at(r, 0.46, 0.08), at(r, 0.54, 0.5)));
    // The Portuguese guitar ends in a fan of tuning screws, the classical one in
    // a flat head.
    p.setBrush(pearShaped ? QColor(200, 190, 150) : QColor(60, 35, 20));
    p.drawRect(QRectF(at(r, 0.42, 0.03), at(r, 0.58, 0.12)));
    p.setPen(QPen(QColor(230, 230, 230), 1));
    for (int i = 0; i < 6; ++i) {
        const double x = 0.475 + i * 0.01;
        p.drawLine(at(r, x, 0.1), at(r, x, 0.8));
    }
}

void pandeiro(QPainter& p, const QRectF& r) {
    fillVertical(p, r, QColor(40, 120, 60), QColor(230, 200, 40));
    const QPointF centre = r.center();
    const double radius = std::min(r.width(), r.height()) * 0.38;
    p.setPen(QPen(QColor(120, 70, 30), radius * 0.12));
    p.setBrush(QColor(240, 230, 205));
    p.drawEllipse(centre, radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 210, 220));
    for (int i = 0; i < 6; ++i) {
        const double angle = i * kPi / 3 + 0.3;
        p.drawEllipse(centre + QPointF(std::cos(angle), std::sin(angle)) * radius, radius * 0.1,
                      radius * 0.06);
    }
}

void berimbau(QPainter& p, const QRectF& r) {
    fillVertical(p, r, QColor(240, 220, 170), QColor(200, 160, 100));
    QPainterPath bow;
    bow.moveTo(at(r, 0.55, 0.05));
    bow.quadTo(at(r, 0.25, 0.5), at(r, 0.55, 0.95));
    p.setPen(QPen(QColor(110, 70, 30), r.width() * 0.035, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bow);
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.drawLine(at(r, 0.55, 0.05), at(r, 0.55, 0.95));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 120, 50));  // the gourd
    p.drawEllipse(at(r, 0.48, 0.78), r.width() * 0.14, r.width() * 0.14);
    p.setBrush(QColor(60, 35, 15));
    p.drawEllipse(at(r, 0.52, 0.78), r.width() * 0.07, r.width() * 0.07);
}

void azulejoTile(QPainter& p, const QRectF& r) {
    p.fillRect(r, QColor(248, 246, 238));
    const QColor blue(30, 60, 150);
    const QPointF c = r.center();
    const double s = std::min(r.width(), r.height());
    p.save();
    p.setClipRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    for (int i = 0; i < 8; ++i) {
        const double angle = i * kPi / 4;
        p.drawEllipse(c + QPointF(std::cos(angle), std::sin(angle)) * s * 0.22, s * 0.07, s * 0.07);
    }
    p.setBrush(QColor(230, 170, 30));
    p.drawEllipse(c, s * 0.1, s * 0.1);
    p.setBrush(blue);
    for (const QPointF corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
        p.drawEllipse(corner, s * 0.18, s * 0.18);
    p.setPen(QPen(blue, s * 0.015));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(1, 1, -1, -1));
    p.restore();
}

void azulejoPanel(QPainter& p, const QRectF& r) {
    const int columns = 6;
    const double side = r.width() / columns;
    const int rows = static_cast<int>(std::ceil(r.height() / side));
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < columns; ++col)
            azulejoTile(p, QRectF(r.left() + col * side, r.top() + row * side, side, side));
}

void portrait(QPainter& p, const QRectF& r, const QColor& backdrop, bool hat) {
    fillVertical(p, r, backdrop.lighter(130), backdrop.darker(130));
    const QRectF oval(at(r, 0.12, 0.08), at(r, 0.88, 0.92));
    p.setPen(QPen(QColor(180, 140, 60), r.width() * 0.03));
    p.setBrush(backdrop.lighter(160));
    p.drawEllipse(oval);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(45, 40, 40));
    QPainterPath bust;
    bust.moveTo(at(r, 0.22, 0.9));
    bust.quadTo(at(r, 0.25, 0.62), at(r, 0.5, 0.6));
    bust.quadTo(at(r, 0.75, 0.62), at(r, 0.78, 0.9));
    bust.closeSubpath();
    p.drawPath(bust);
    p.drawEllipse(at(r, 0.5, 0.42), r.width() * 0.14, r.height() * 0.14);
    if (hat) {
        p.drawRect(QRectF(at(r, 0.32, 0.28), at(r, 0.68, 0.3)));
        p.drawRoundedRect(QRectF(at(r, 0.38, 0.2), at(r, 0.62, 0.29)), 3, 3);
    }
}

void prophets(QPainter& p, const QRectF& r, Rng& rng) {
    daySky(p, r, r.bottom());
    p.fillRect(QRectF(at(r, 0, 0.78), r.bottomRight()), QColor(190, 185, 170));
    const QColor soapstone(170, 165, 140);
    for (int i = 0; i < 3; ++i) {
        const double x = 0.2 + i * 0.3;
        const double top = 0.25 + (i % 2) * 0.08;
        p.setPen(Qt::NoPen);
        p.setBrush(soapstone.darker(100 + rng.below(20)));
        p.drawRect(QRectF(at(r, x - 0.09, 0.72), at(r, x + 0.09, 0.8)));
        QPainterPath robe;
        robe.moveTo(at(r, x - 0.08, 0.72));
        robe.quadTo(at(r, x - 0.1, top + 0.15), at(r, x, top + 0.08));
        robe.quadTo(at(r, x + 0.1, top + 0.15), at(r, x + 0.08, 0.72));
        robe.closeSubpath();
        p.drawPath(robe);
        p.drawEllipse(at(r, x, top), r.width() * 0.04, r.height() * 0.045);
        p.drawRect(QRectF(at(r, x + 0.05, top + 0.15), at(r, x + 0.14, top + 0.18)));  // scroll
    }
}

void banquet(QPainter& p, const QRectF& r, Rng& rng) {
    fillVertical(p, r, QColor(250, 235, 200), QColor(210, 180, 140));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(at(r, 0, 0.55), at(r, 1, 1)));
    for (int i = 0; i < 7; ++i) {
        const double x = 0.08 + i * 0.14;
        // A stemmed glass of water, and a plate beside it.
        p.setBrush(QColor(200, 225, 245, 200));
        p.drawPolygon(QPolygonF({at(r, x - 0.03, 0.3), at(r, x + 0.03, 0.3), at(r, x + 0.015, 0.45),
                                 at(r, x - 0.015, 0.45)}));
        p.setBrush(QColor(160, 190, 210));
        p.drawRect(QRectF(at(r, x - 0.003, 0.45), at(r, x + 0.003, 0.55)));
        p.drawEllipse(at(r, x, 0.555), r.width() * 0.025, r.height() * 0.012);
        p.setBrush(QColor(235, 235, 240));
        p.drawEllipse(at(r, x + 0.05, 0.75), r.width() * 0.05, r.height() * 0.05);
    }
    p.setBrush(QColor(200, 80, 90));
    for (int i = 0; i < 10; ++i)
        p.drawEllipse(at(r, rng.uniform(0.05, 0.95), rng.uniform(0.6, 0.95)), r.width() * 0.012,
                      r.width() * 0.012);
}

void parade(QPainter& p, const QRectF& r, Rng& rng) {
    fillVertical(p, r, QColor(20, 20, 60), QColor(80, 30, 90));
    p.fillRect(QRectF(at(r, 0, 0.75), r.bottomRight()), QColor(90, 90, 100));
    for (int i = 0; i < 9; ++i) {
        const QColor colour = QColor::fromHsv(rng.below(360), 220, 250);
        const QPointF foot = at(r, 0.07 + i * 0.1, 0.9);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(foot - QPointF(0, r.height() * 0.3), r.width() * 0.05, r.height() * 0.08);
        person(p, foot, r.height() * 0.35, colour.darker(120), rng.uniform(0.2, 0.6));
    }
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 120; ++i) {
        p.setBrush(QColor::fromHsv(rng.below(360), 200, 255));
        p.drawRect(QRectF(at(r, rng.uniform(0, 1), rng.uniform(0, 0.7)), QSizeF(3, 3)));
    }
}

void roda(QPainter& p, const QRectF& r) {
    fillVertical(p, r, QColor(240, 200, 120), QColor(180, 130, 70));
    const QPointF centre = at(r, 0.5, 0.6);
    for (int i = 0; i < 12; ++i) {
        const double angle = kPi + i * kPi / 11;
        const QPointF foot =
            centre + QPointF(std::cos(angle) * r.width() * 0.42,
                             std::sin(angle) * r.height() * 0.15 + r.height() * 0.1);
        person(p, foot, r.height() * 0.3, QColor(60, 40, 30), 0.1);
    }
    person(p, at(r, 0.42, 0.85), r.height() * 0.4, QColor(250, 250, 250), 0.7);
    person(p, at(r, 0.6, 0.85), r.height() * 0.38, QColor(30, 30, 30), 0.5);
}

void masks(QPainter& p, const QRectF& r, Rng& rng) {
    fillVertical(p, r, QColor(60, 20, 80), QColor(20, 10, 40));
    for (int i = 0; i < 3; ++i) {
        const QPointF c = at(r, 0.2 + i * 0.3, 0.45 + (i % 2) * 0.1);
        const double w = r.width() * 0.13;
        const QColor colour = QColor::fromHsv(40 + i * 110, 200, 240);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        QPainterPath mask;
        mask.moveTo(c + QPointF(-w, -w * 0.2));
        mask.quadTo(c + QPointF(0, -w * 0.6), c + QPointF(w, -w * 0.2));
        mask.quadTo(c + QPointF(w * 0.9, w * 0.5), c + QPointF(0, w * 0.25));
        mask.quadTo(c + QPointF(-w * 0.9, w * 0.5), c + QPointF(-w, -w * 0.2));
        p.drawPath(mask);
        p.setBrush(QColor(20, 10, 40));
        p.drawEllipse(c + QPointF(-w * 0.45, 0), w * 0.22, w * 0.14);
        p.drawEllipse(c + QPointF(w * 0.45, 0), w * 0.22, w * 0.14);
        p.setPen(QPen(colour.lighter(140), 2));
        for (int f = 0; f < 5; ++f)  // feathers
            p.drawLine(c + QPointF(w * 0.8, -w * 0.3),
                       c + QPointF(w * (1.0 + f * 0.1), -w * (1.0 + rng.uniform(0, 0.5))));
    }
}

void humanFigure(QPainter& p, const QRectF& r) {
    p.fillRect(r, QColor(245, 245, 240));
    const QColor skin(230, 160, 130);
    p.setPen(QPen(skin.darker(150), 2));
    p.setBrush(skin);
    p.drawEllipse(at(r, 0.5, 0.12), r.width() * 0.07, r.height() * 0.07);
    p.drawRoundedRect(QRectF(at(r, 0.38, 0.2), at(r, 0.62, 0.55)), 8, 8);
    p.drawRoundedRect(QRectF(at(r, 0.3, 0.21), at(r, 0.37, 0.52)), 5, 5);
    p.drawRoundedRect(QRectF(at(r, 0.63, 0.21), at(r, 0.7, 0.52)), 5, 5);
    p.drawRoundedRect(QRectF(at(r, 0.39, 0.55), at(r, 0.49, 0.95)), 5, 5);
    p.drawRoundedRect(QRectF(at(r, 0.51, 0.55), at(r, 0.61, 0.95)), 5, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 150, 160));  // lungs
    p.drawEllipse(at(r, 0.45, 0.3), r.width() * 0.04, r.height() * 0.06);
    p.drawEllipse(at(r, 0.56, 0.3), r.width() * 0.035, r.height() * 0.06);
    p.setBrush(QColor(200, 40, 50));  // heart
    p.drawEllipse(at(r, 0.52, 0.32), r.width() * 0.03, r.width() * 0.035);
}

void filmFrame(QPainter& p, const QRectF& r) {
    const double band = r.height() * 0.1;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(15, 15, 15));
    p.drawRect(QRectF(r.left(), r.top(), r.width(), band));
    p.drawRect(QRectF(r.left(), r.bottom() - band, r.width(), band));
    p.setBrush(QColor(240, 240, 230));
    const double hole = band * 0.45;
    for (double x = r.left() + hole; x < r.right(); x += hole * 2.2) {
        p.drawRoundedRect(QRectF(x, r.top() + band * 0.28, hole, hole), 2, 2);
        p.drawRoundedRect(QRectF(x, r.bottom() - band * 0.72, hole, hole), 2, 2);
    }
    p.setBrush(QColor(255, 255, 255, 200));
    const QPointF c = r.center();
    const double s = r.height() * 0.12;
    p.drawEllipse(c, s * 1.3, s * 1.3);
    p.setBrush(QColor(200, 30, 30));
    p.drawPolygon(QPolygonF({c + QPointF(-s * 0.45, -s * 0.65), c + QPointF(-s * 0.45, s * 0.65),
                             c + QPointF(s * 0.7, 0)}));
}

void soundWave(QPainter& p, const QRectF& r, Rng& rng) {
    const QRectF band(r.left(), r.bottom() - r.height() * 0.3, r.width(), r.height() * 0.3);
    p.fillRect(band, QColor(0, 0, 0, 150));
    p.setPen(QPen(QColor(120, 230, 120), std::max(1.0, r.width() / 200)));
    const int bars = 60;
    for (int i = 0; i < bars; ++i) {
        const double x = band.left() + band.width() * (i + 0.5) / bars;
        const double amplitude =
            band.height() * 0.42 * std::abs(std::sin(i * 0.37)) * rng.uniform(0.3, 1.0);
        p.drawLine(QPointF(x, band.center().y() - amplitude),
                   QPointF(x, band.center().y() + amplitude));
    }
}

}  // namespace lumera::art::scenes
