#pragma once

#include <QStringList>
#include <QVector>

#include "ArtKit.h"

// Schematic maps on a plain longitude/latitude grid, with rough outlines.
namespace lumera::art::maps {

struct Place {
    QString label;
    double lon;
    double lat;
};

struct MapOutline {
    double west, east, south, north;  // degrees
    QStringList highlighted;          // regions drawn in green; "azores" adds the islands
    QVector<QVector<Place>> routes;   // polylines, drawn in red
    QVector<Place> places;            // dots with a label
    QString title;
    bool meridianOfTordesillas = false;
};

void drawMap(QPainter& p, const QRectF& r, const MapOutline& outline);

}  // namespace lumera::art::maps
