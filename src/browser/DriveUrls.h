#pragma once

#include <QString>
#include <QUrl>

namespace lumera {

// Content on the CD and in the installation is addressed by Windows drive
// paths. The web view sees each drive letter as a URL scheme of its own
// ("d:/lex2000/joia.htm"), so relative links keep working inside a drive.
namespace driveurls {

// Registers the schemes "c" to "z"; must run before the QApplication exists.
void registerSchemes();
bool isDriveScheme(const QString& scheme);

// The URL the view loads for a target as the program writes it: a drive path
// with either slash, a file URL, or a POSIX path (relative to the current
// directory).
QUrl toUrl(const QString& target);

// The text the program sees for a navigation it did not start itself: drive
// addresses as Windows paths with backslashes, the path percent-decoded, the
// query and fragment as written; local files as their path; anything else as
// its URL text.
QString toNavigationText(const QUrl& url);

// A GET form's value of a field, decoded as the pages' code page
// (Windows-1252) encodes it. Nothing when the query has no such field.
bool formFieldValue(const QUrl& url, const QString& field, QString* value);

}  // namespace driveurls
}  // namespace lumera
