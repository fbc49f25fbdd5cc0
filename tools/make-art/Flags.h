#pragma once

#include "ArtKit.h"

// Simplified national flags of the Portuguese-speaking countries, drawn in
// proportion to whatever area they are given.
namespace lumera::art::flags {

void brasil(QPainter& p, const QRectF& r);
void portugal(QPainter& p, const QRectF& r);
void angola(QPainter& p, const QRectF& r);
void mocambique(QPainter& p, const QRectF& r);
void caboVerde(QPainter& p, const QRectF& r);
void guineBissau(QPainter& p, const QRectF& r);
void saoTome(QPainter& p, const QRectF& r);
void timorLeste(QPainter& p, const QRectF& r);

}  // namespace lumera::art::flags
