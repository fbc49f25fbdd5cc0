#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace lumera {

// The 8-bit code page of the content's text files.
namespace windows1252 {

// Every byte decodes; the five bytes Windows-1252 leaves undefined map to the
// C1 control of the same value, as Windows itself does.
QString decode(const QByteArray& bytes);

// Characters the code page cannot hold become decimal character references
// (&#937;), one per code point, so nothing is lost in a page.
QByteArray encodeWithReferences(QStringView text);

}  // namespace windows1252
}  // namespace lumera
