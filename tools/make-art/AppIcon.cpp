#include "AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QVector>

namespace lumera::art::appicon {
namespace {

// The drawing lives in a 32 x 32 box, like the window icon.
constexpr double kBox = 32;

struct Shape {
    enum Kind { Polygon, Ellipse, Line } kind;
    QVector<QPointF> points;  // an ellipse: its centre, then its two radii
    QColor fill;              // invalid: none
    QColor stroke;            // invalid: none
    double strokeWidth = 0;
};

const QVector<Shape>& shapes() {
    static const QColor ink(20, 24, 40);
    static const QVector<Shape> all = {
        // The book's two pages.
        {Shape::Polygon,
         {{2, 20.5}, {15.5, 23.5}, {15.5, 30}, {2, 27}},
         QColor(250, 248, 240),
         ink,
         1},
        {Shape::Polygon,
         {{30, 20.5}, {16.5, 23.5}, {16.5, 30}, {30, 27}},
         QColor(250, 248, 240),
         ink,
         1},
        // The globe, its meridian and equator, two lands.
        {Shape::Ellipse, {{16, 12}, {10.5, 10.5}}, QColor(24, 64, 160), ink, 1},
        {Shape::Ellipse, {{16, 12}, {4.5, 10.5}}, QColor(), QColor(120, 220, 255), 0.8},
        {Shape::Line, {{5.5, 12}, {26.5, 12}}, QColor(), QColor(120, 220, 255), 0.8},
        {Shape::Ellipse, {{11.5, 7.5}, {3, 2}}, QColor(40, 150, 70), QColor(), 0},
        {Shape::Ellipse, {{20.5, 16}, {3, 3}}, QColor(40, 150, 70), QColor(), 0},
        // The initial.
        {Shape::Polygon,
         {{9, 3}, {15, 3}, {15, 17}, {24, 17}, {24, 22}, {9, 22}},
         QColor(255, 214, 0),
         ink,
         1},
    };
    return all;
}

QString number(double value) { return QString::number(value, 'g', 4); }

QString svgColour(const QColor& colour) {
    return colour.isValid() ? colour.name() : QStringLiteral("none");
}

QString svgElement(const Shape& shape) {
    const QString paint =
        QStringLiteral(" fill=\"%1\" stroke=\"%2\" stroke-width=\"%3\" stroke-linejoin=\"round\"/>")
            .arg(svgColour(shape.fill), svgColour(shape.stroke), number(shape.strokeWidth));
    const QVector<QPointF>& p = shape.points;
    switch (shape.kind) {
        case Shape::Polygon: {
            QStringList points;
            for (const QPointF& point : p) points << number(point.x()) + u',' + number(point.y());
            return QStringLiteral("  <polygon points=\"%1\"").arg(points.join(u' ')) + paint;
        }
        case Shape::Ellipse:
            return QStringLiteral("  <ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\"")
                       .arg(number(p[0].x()), number(p[0].y()), number(p[1].x()),
                            number(p[1].y())) +
                   paint;
        case Shape::Line:
            return QStringLiteral("  <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\"")
                       .arg(number(p[0].x()), number(p[0].y()), number(p[1].x()),
                            number(p[1].y())) +
                   paint;
    }
    return {};
}

}  // namespace

QImage image(int size) {
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kBox, size / kBox);
    for (const Shape& shape : shapes()) {
        painter.setBrush(shape.fill.isValid() ? QBrush(shape.fill) : Qt::NoBrush);
        painter.setPen(shape.stroke.isValid() ? QPen(shape.stroke, shape.strokeWidth, Qt::SolidLine,
                                                     Qt::FlatCap, Qt::RoundJoin)
                                              : QPen(Qt::NoPen));
        const QVector<QPointF>& p = shape.points;
        switch (shape.kind) {
            case Shape::Polygon:
                painter.drawPolygon(QPolygonF(p));
                break;
            case Shape::Ellipse:
                painter.drawEllipse(p[0], p[1].x(), p[1].y());
                break;
            case Shape::Line:
                painter.drawLine(p[0], p[1]);
                break;
        }
    }
    painter.end();
    return picture.convertToFormat(QImage::Format_ARGB32);
}

QByteArray svg() {
    QString text = QStringLiteral(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
        "viewBox=\"0 0 32 32\">\n");
    for (const Shape& shape : shapes()) text += svgElement(shape) + u'\n';
    text += QStringLiteral("</svg>\n");
    return text.toUtf8();
}

}  // namespace lumera::art::appicon
