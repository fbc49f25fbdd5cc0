#pragma once

#include <QVector>

#include "ArtKit.h"

// Charts and diagrams for the "agrafico" media rows and the atlas pages.
namespace lumera::art::charts {

struct Value {
    QString label;
    double value;
};

void barChart(QPainter& p, const QRectF& r, const QString& title, const QVector<Value>& values);
void pieChart(QPainter& p, const QRectF& r, const QString& title, const QVector<Value>& values);
void photosynthesis(QPainter& p, const QRectF& r);
// Marks on a line from the origin of the universe to the present.
void cosmicTimeline(QPainter& p, const QRectF& r, const QVector<Value>& eventsInBillionYears);

// Writes a number the Portuguese way: decimal comma.
QString decimal(double value);

}  // namespace lumera::art::charts
