#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace lumera::art {

// Qt reads GIF but cannot write it, and the content's icons and thumbnails
// must be real GIF files. The image is reduced to at most 256 colours by Qt
// (nearest colour, no dithering: the pictures are flat drawings);
// a colour that is mostly transparent becomes the file's transparent index.
QByteArray encodeGif(const QImage& image);

// Writes encodeGif(image) to path; false when the file cannot be written.
bool writeGif(const QImage& image, const QString& path);

}  // namespace lumera::art
