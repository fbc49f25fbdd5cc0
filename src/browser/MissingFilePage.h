#pragma once

#include <QByteArray>
#include <QString>

namespace lumera {

// The reader's own page for a drive address that names no file, served in
// place of the browser's error page (in English, and from an origin whose
// links to the drives are refused): which file is missing, what to do when
// the drive holds no CD, and the way home. UTF-8 HTML.
struct MissingFile {
    QString address;  // as the program writes it, "D:\lex2000\x.htm"
    QChar drive;
    bool driveMissing = false;  // its folder is gone, or empty as an unmounted image leaves it
    bool unreadable = false;    // there, but it could not be opened
};
QByteArray MissingFilePage(const MissingFile& missing);

// The page name of the link that page offers when the CD is missing: the
// reader answers it by asking where the CD is now.
inline const QString kPointToTheCdPage = QStringLiteral("lumera-indicar-o-cd");

}  // namespace lumera
