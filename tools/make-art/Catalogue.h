#pragma once

#include <QHash>
#include <QSize>
#include <QString>

#include "ArtKit.h"

namespace lumera::art {

// How each media picture is drawn, by the stem of its file name
// ("cristo-redentor" for /lex2000/fotos/cristo-redentor.jpg). Every media row
// of the sample edition needs an entry; make-art stops on a missing one.
QHash<QString, Drawer> mediaPictures();

struct PagePicture {
    Drawer draw;
    QSize size;
};

// Pictures of the edition's own pages (atlas, inline article pictures), by
// their path below the CD root.
QHash<QString, PagePicture> pagePictures();

}  // namespace lumera::art
