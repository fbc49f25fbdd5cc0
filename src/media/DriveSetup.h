#pragma once

#include <QString>
#include <QStringList>

namespace lumera {

class DriveMap;

// The drives the set-up saved beside lex.ini, one "D:=/path" a line.
inline const QString kSavedDrivesFile = QStringLiteral("lumera-drives");

// Fills the drive map the way every program of the reader does: the
// --drive options, then LUMERA_DRIVES, then the saved drives of the
// installation folder (the current directory), each for letters still free.
// Returns the messages for mappings that could not be made (Portuguese).
QStringList MapDrives(DriveMap& drives, const QStringList& driveOptions);

// Once lex.ini is read: the installation folder may be read and written, and
// an unmapped CD drive is looked for among the mounted media. Returns a
// message when the CD drive stays unmapped, else empty.
QString LocateContent(DriveMap& drives, const QString& installPath, const QString& cdRomPath);

// That the CD is not in drive, and how to point the reader to it.
QString MissingCdMessage(QChar drive);

}  // namespace lumera
