#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <functional>

namespace lumera::art {

// Draws one picture into the painter's whole area (rect).
using Drawer = std::function<void(QPainter&, const QRectF&)>;

// A small deterministic generator: the pictures must come out the same on
// every machine, so the standard distributions (implementation-defined) are
// not used.
class Rng {
  public:
    explicit Rng(const QString& seedText);
    quint32 next();
    double uniform(double low, double high);
    int below(int bound);

  private:
    quint64 state_;
};

QImage renderPicture(const Drawer& draw, int width, int height);
// Scales and crops to exactly width x height, keeping the centre.
QImage fitPicture(const QImage& source, int width, int height);

QFont artFont(double pixelSize, bool bold = false, bool serif = false);
void fillVertical(QPainter& p, const QRectF& area, const QColor& top, const QColor& bottom);
// A wavy band of hills between baseline and baseline - height.
QPolygonF hillOutline(const QRectF& r, double baseline, double height, int bumps, Rng& rng);
void drawSun(QPainter& p, QPointF centre, double radius, const QColor& colour);
void drawLabelStrip(QPainter& p, const QRectF& r, const QString& text);
QPointF at(const QRectF& r, double fx, double fy);  // fractional position in r

}  // namespace lumera::art
