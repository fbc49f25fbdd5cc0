#pragma once

#include <QImage>

#include "ArtKit.h"

// Pictures of the program and of the edition's pages rather than of the
// articles: kind icons, page decoration, the window icon and the TV frame.
namespace lumera::art::interface {

enum class KindIcon { Foto, AudVis, Bandeira, Grafico, Mapa, Video, Audio, Website };
QImage kindIcon(KindIcon kind);  // 32 x 32

QImage spacerPixel();      // 1 x 1, transparent
QImage bulletArrow();      // 9 x 9
QImage logo();             // for the blue page headers
QImage homeBanner();       // top of the home page
QImage footerStrip();      // bottom of the article pages
QImage windowIcon();       // 32 x 32, 16 colours
QImage televisionFrame();  // 436 x 365, screen at (36, 60) 361 x 237

}  // namespace lumera::art::interface
