#pragma once

#include <QByteArray>
#include <QImage>

// The application's icon for the desktop's menus and docks: the window
// icon's motif (an open book under a globe, the initial in front) drawn
// smoothly, at any size and as SVG from the same shapes.
namespace lumera::art::appicon {

QImage image(int size);  // size x size, transparent background
QByteArray svg();        // the same drawing, scalable

}  // namespace lumera::art::appicon
