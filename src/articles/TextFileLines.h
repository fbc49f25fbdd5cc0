#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lumera::textfile {

// The lines of a text as the program's text files hold them: a line ends at a
// carriage return, a line feed right after it belongs to the break, and a lone
// line feed stays inside the line. A break at the very end opens no empty line.
QStringList splitLines(const QString& text);

// The lines as file content: Windows-1252, characters the code page lacks as
// decimal character references, every line ended by CR LF.
QByteArray encodeLines(const QStringList& lines);

}  // namespace lumera::textfile
