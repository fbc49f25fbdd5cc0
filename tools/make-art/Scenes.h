#pragma once

#include "ArtKit.h"

// Photograph-like pictures for the media rows, painted from simple shapes.
namespace lumera::art::scenes {

void mountainBay(QPainter& p, const QRectF& r, Rng& rng, bool statueOnPeak);
void tower(QPainter& p, const QRectF& r, Rng& rng);
void ruinedFacade(QPainter& p, const QRectF& r, Rng& rng, bool gothicArches);
void islandTown(QPainter& p, const QRectF& r, Rng& rng);
void volcano(QPainter& p, const QRectF& r, Rng& rng, bool needle);
void levada(QPainter& p, const QRectF& r, Rng& rng);
void riverForest(QPainter& p, const QRectF& r, Rng& rng);
void forest(QPainter& p, const QRectF& r, Rng& rng);
void tram(QPainter& p, const QRectF& r, Rng& rng);
void hillTown(QPainter& p, const QRectF& r, Rng& rng);
void lakeCrater(QPainter& p, const QRectF& r, Rng& rng);
void caravel(QPainter& p, const QRectF& r, Rng& rng);
void carnation(QPainter& p, const QRectF& r, Rng& rng);
void waterDrop(QPainter& p, const QRectF& r);
void planets(QPainter& p, const QRectF& r, Rng& rng);
void orbits(QPainter& p, const QRectF& r, Rng& rng);
void earthFromSpace(QPainter& p, const QRectF& r, Rng& rng);
void galaxy(QPainter& p, const QRectF& r, Rng& rng);
void biplane(QPainter& p, const QRectF& r, Rng& rng);
void guitar(QPainter& p, const QRectF& r, bool pearShaped);
void pandeiro(QPainter& p, const QRectF& r);
void berimbau(QPainter& p, const QRectF& r);
void azulejoPanel(QPainter& p, const QRectF& r);
void azulejoTile(QPainter& p, const QRectF& r);
void portrait(QPainter& p, const QRectF& r, const QColor& backdrop, bool hat);
void prophets(QPainter& p, const QRectF& r, Rng& rng);
void banquet(QPainter& p, const QRectF& r, Rng& rng);
void parade(QPainter& p, const QRectF& r, Rng& rng);
void roda(QPainter& p, const QRectF& r);
void masks(QPainter& p, const QRectF& r, Rng& rng);
void humanFigure(QPainter& p, const QRectF& r);

// Overlays that turn a picture into a film still or a sound card.
void filmFrame(QPainter& p, const QRectF& r);
void soundWave(QPainter& p, const QRectF& r, Rng& rng);

}  // namespace lumera::art::scenes
