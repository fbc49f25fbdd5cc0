#pragma once

#include <QByteArray>
#include <QString>

namespace lumera {

// The installation folder the set-up makes from the CD: lex.ini as the
// Windows installer wrote it, the database and template copied into it, and
// beside lex.ini the drive the CD is read from (so lex.ini keeps its format
// and --drive still overrides it).
namespace editionsetup {

// $XDG_DATA_HOME/lumera/edition.
QString DefaultFolder();
// The set-up's installation folder when it holds an edition, else empty.
QString InstalledEdition();

// The drive letter the template's own addresses give the CD ("d:" for
// "d:/lex2000/..."), "D:" when it names none.
QString CdDriveOfTemplate(const QByteArray& templateBytes);

// lex.ini for an installation in folder (absolute) with the CD at cdDrive.
QByteArray LexIniText(const QString& folder, const QString& cdDrive);

// The saved drive file's line for the CD: "D:=<source>".
QByteArray SavedDriveText(const QString& cdDrive, const QString& source);

}  // namespace editionsetup
}  // namespace lumera
