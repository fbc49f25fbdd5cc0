#include "Maps.h"

#include <QMap>
#include <algorithm>
#include <cmath>

namespace lumera::art::maps {
namespace {

using Outline = QVector<QPointF>;  // (lon, lat)

const QMap<QString, Outline>& outlines() {
    static const QMap<QString, Outline> table = {
        {"south-america",
         {{-80, 10},  {-75, 11},  {-62, 10.5}, {-52, 5},   {-50, 0},   {-44, -2.5}, {-35, -5},
          {-35, -9},  {-39, -14}, {-41, -22},  {-48, -26}, {-53, -33}, {-58, -38},  {-65, -41},
          {-65, -47}, {-69, -52}, {-74, -53},  {-73, -45}, {-73, -37}, {-71, -30},  {-70, -18},
          {-76, -14}, {-81, -6},  {-80, -1},   {-77, 4},   {-78, 8}}},
        {"south-america/brasil",
         {{-60, 5},   {-52, 4},   {-50, 1.5}, {-44, -2.5},  {-35, -5},  {-35, -9},
          {-39, -14}, {-41, -22}, {-48, -26}, {-53, -33.5}, {-57, -30}, {-55, -27},
          {-54, -25}, {-58, -20}, {-58, -16}, {-60, -14},   {-65, -12}, {-70, -11},
          {-73, -7},  {-70, -4},  {-70, 1},   {-67, 2},     {-63, 2}}},
        {"north-america", {{-165, 65}, {-140, 70}, {-95, 72},  {-80, 65}, {-60, 55},  {-65, 45},
                           {-75, 38},  {-80, 30},  {-82, 25},  {-90, 30}, {-97, 26},  {-97, 18},
                           {-87, 15},  {-82, 9},   {-79, 8},   {-88, 13}, {-105, 20}, {-112, 30},
                           {-124, 40}, {-124, 48}, {-135, 58}, {-165, 60}}},
        {"africa", {{-17, 21}, {-13, 28}, {-6, 35.8}, {10, 37},  {11, 33},   {20, 31},  {32, 31},
                    {34, 28},  {43, 12},  {51, 12},   {49, 5},   {40, -3},   {40, -15}, {35, -24},
                    {32, -29}, {27, -34}, {20, -35},  {18, -31}, {12, -18},  {13, -11}, {9, -1},
                    {9, 4},    {4, 6},    {-8, 4.5},  {-13, 8},  {-17, 14.5}}},
        {"africa/angola",
         {{12, -5},
          {13.5, -5.9},
          {16, -6},
          {17.5, -8},
          {21, -7},
          {22, -11},
          {24, -11},
          {24, -13},
          {22, -13},
          {22, -16},
          {23.5, -17.8},
          {21, -18},
          {14, -17.4},
          {12, -17.2},
          {11.8, -15},
          {13.5, -12},
          {13, -9},
          {12, -6}}},
        {"africa/mocambique",
         {{32.9, -26.8},
          {35.5, -24},
          {35.5, -22},
          {34.8, -20},
          {36.9, -17.9},
          {40.5, -15},
          {40.5, -10.5},
          {35, -11.5},
          {34.6, -14},
          {33.2, -14},
          {30.2, -15.6},
          {32.9, -16.7},
          {32.5, -21.3},
          {31.3, -22.4},
          {32, -25}}},
        {"eurasia",
         {{-9, 43},  {-1, 46},  {-4.5, 48.5}, {2, 51},   {8, 54},    {10, 57.5}, {5, 62},
          {15, 69},  {28, 71},  {40, 67},     {60, 68},  {100, 77},  {140, 72},  {180, 68},
          {160, 60}, {140, 50}, {122, 40},    {120, 30}, {110, 20},  {106, 10},  {100, 2},
          {98, 15},  {92, 22},  {80, 15},     {77, 8},   {72, 20},   {60, 25},   {57, 22},
          {52, 16},  {44, 12},  {35, 28},     {36, 36},  {28, 41},   {23, 36.5}, {19, 40},
          {16, 38},  {12, 44},  {8, 44},      {3, 42.5}, {-2, 36.7}, {-9, 37}}},
        {"eurasia/portugal",
         {{-8.9, 42},
          {-8.2, 42.1},
          {-6.3, 41.9},
          {-6.9, 41},
          {-6.9, 40.2},
          {-7.0, 39.6},
          {-7.5, 39.5},
          {-7, 38.1},
          {-7.5, 37.2},
          {-8.9, 37},
          {-8.8, 38.7},
          {-9.5, 39},
          {-8.7, 41}}},
        {"australia",
         {{114, -22},
          {123, -17},
          {131, -12},
          {137, -12},
          {142, -11},
          {146, -19},
          {153, -26},
          {151, -34},
          {144, -38},
          {135, -35},
          {129, -32},
          {115, -34}}},
    };
    return table;
}

// The nine islands of the Azores, as small ellipses (lon, lat, half-width in
// degrees).
struct Island {
    const char* name;
    double lon, lat, size;
};
constexpr Island kAzores[] = {
    {"Corvo", -31.1, 39.7, 0.06},       {"Flores", -31.2, 39.45, 0.12},
    {"Faial", -28.7, 38.58, 0.12},      {"Pico", -28.3, 38.47, 0.25},
    {"São Jorge", -28.0, 38.65, 0.25},  {"Graciosa", -28.0, 39.05, 0.08},
    {"Terceira", -27.2, 38.72, 0.18},   {"São Miguel", -25.5, 37.78, 0.35},
    {"Santa Maria", -25.1, 36.97, 0.1},
};

class Projection {
  public:
    Projection(const QRectF& area, const MapOutline& outline) : area_(area), outline_(outline) {}
    QPointF operator()(double lon, double lat) const {
        return {
            area_.left() + (lon - outline_.west) / (outline_.east - outline_.west) * area_.width(),
            area_.top() +
                (outline_.north - lat) / (outline_.north - outline_.south) * area_.height()};
    }
    double pixelsPerDegree() const { return area_.width() / (outline_.east - outline_.west); }

  private:
    QRectF area_;
    const MapOutline& outline_;
};

void drawGrid(QPainter& p, const MapOutline& outline, const Projection& project) {
    const double span = outline.east - outline.west;
    const double step = span > 90 ? 30 : span > 30 ? 10 : span > 8 ? 2 : 1;
    p.setPen(QPen(QColor(255, 255, 255, 90), 1, Qt::DotLine));
    for (double lon = std::ceil(outline.west / step) * step; lon <= outline.east; lon += step)
        p.drawLine(project(lon, outline.north), project(lon, outline.south));
    for (double lat = std::ceil(outline.south / step) * step; lat <= outline.north; lat += step)
        p.drawLine(project(outline.west, lat), project(outline.east, lat));
}

void drawCompass(QPainter& p, const QRectF& r) {
    const QPointF c = at(r, 0.92, 0.16);
    const double s = std::min(r.width(), r.height()) * 0.06;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 250, 240));
    p.drawPolygon(QPolygonF({c + QPointF(0, -s), c + QPointF(s * 0.3, 0), c + QPointF(0, s),
                             c + QPointF(-s * 0.3, 0)}));
    p.setBrush(QColor(200, 40, 40));
    p.drawPolygon(
        QPolygonF({c + QPointF(0, -s), c + QPointF(s * 0.3, 0), c + QPointF(-s * 0.3, 0)}));
    p.setPen(Qt::white);
    p.setFont(artFont(s * 0.8, true));
    p.drawText(QRectF(c.x() - s, c.y() - s * 2.1, 2 * s, s), Qt::AlignCenter, QStringLiteral("N"));
}

void drawAzores(QPainter& p, const QRectF& r, const Projection& project) {
    p.setFont(artFont(r.height() * 0.04, true));
    for (const Island& island : kAzores) {
        const QPointF centre = project(island.lon, island.lat);
        const double w = std::max(3.0, 1.5 * island.size * project.pixelsPerDegree());
        p.setPen(QPen(QColor(40, 90, 40), 1));
        p.setBrush(QColor(80, 170, 80));
        p.drawEllipse(centre, w, std::max(2.0, w * 0.45));
        p.setPen(Qt::white);
        p.drawText(centre + QPointF(-w, -w * 0.45 - 4), QString::fromUtf8(island.name));
    }
}

}  // namespace

void drawMap(QPainter& p, const QRectF& r, const MapOutline& outline) {
    p.fillRect(r, QColor(70, 130, 190));
    const Projection project(r, outline);
    drawGrid(p, outline, project);
    // Continents first; the countries ("continent/country") then lie on top of
    // them.
    for (int pass = 0; pass < 2; ++pass) {
        for (auto it = outlines().cbegin(); it != outlines().cend(); ++it) {
            const bool country = it.key().contains(QLatin1Char('/'));
            if (country != (pass == 1)) continue;
            const QString name = it.key().section(QLatin1Char('/'), -1);
            if (country && !outline.highlighted.contains(name)) continue;
            QPolygonF shape;
            for (const QPointF& point : it.value()) shape << project(point.x(), point.y());
            p.setPen(QPen(QColor(90, 80, 60), 1));
            p.setBrush(outline.highlighted.contains(name) ? QColor(80, 170, 80)
                                                          : QColor(235, 220, 170));
            p.drawPolygon(shape);
        }
    }
    if (outline.highlighted.contains(QStringLiteral("azores"))) drawAzores(p, r, project);
    if (outline.meridianOfTordesillas) {
        p.setPen(QPen(QColor(200, 20, 20), 2, Qt::DashLine));
        p.drawLine(project(-46.6, outline.north), project(-46.6, outline.south));
    }
    p.setPen(QPen(QColor(200, 20, 20), std::max(1.5, r.width() / 250)));
    for (const auto& route : outline.routes)
        for (qsizetype i = 1; i < route.size(); ++i)
            p.drawLine(project(route[i - 1].lon, route[i - 1].lat),
                       project(route[i].lon, route[i].lat));
    p.setFont(artFont(r.height() * 0.04, true));
    for (const Place& place : outline.places) {
        const QPointF point = project(place.lon, place.lat);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 20, 20));
        p.drawEllipse(point, 3.5, 3.5);
        p.setPen(QColor(20, 20, 20));
        // Labels near the right edge go to the left of their dot.
        const double width = p.fontMetrics().horizontalAdvance(place.label);
        const bool leftOfDot = point.x() + 8 + width > r.right();
        p.drawText(point + QPointF(leftOfDot ? -8 - width : 6, 4), place.label);
    }
    drawCompass(p, r);
    if (!outline.title.isEmpty()) drawLabelStrip(p, r, outline.title);
}

}  // namespace lumera::art::maps
