#pragma once

#include <QImage>
#include <QRgb>
#include <QSize>

namespace lumera::searchart {

inline constexpr QRgb kDarkBlue = qRgb(0, 48, 96);
inline constexpr QRgb kLightBlue = qRgb(48, 184, 239);
inline constexpr QRgb kBlack = qRgb(0, 0, 0);
inline constexpr QRgb kAmber = qRgb(255, 200, 0);

inline constexpr QSize kBackgroundSize{493, 288};
inline constexpr QSize kOkButtonSize{24, 18};

// The window's background: dark blue bands at the top and the bottom, each
// with a 45° edge, a light blue line along the middle's border, black middle.
QImage DrawBackground();

// An orange oval button with the dark letters OK; the corners are transparent.
QImage DrawOkButton();

}  // namespace lumera::searchart
