#pragma once

#include <QByteArray>
#include <QString>

#include "host/ContentPaths.h"

namespace lumera {

// Reads lex.ini the way start-up always has: a key counts anywhere in the
// upper-cased line, the last matching line wins, and values are cut by
// position. Lines end at CR LF, CR or a lone LF (files written on Linux).
// The bytes are UTF-8 when they are valid UTF-8, else Windows-1252.
ContentPaths ParseLexIni(const QByteArray& bytes);

// Windows' 8.3 names for the usual program folders; only exact-case forms are
// replaced, though the test for them ignores case.
QString ShortNameFixup(const QString& installPath);

// Reads "lex.ini" from the current directory, by that bare name. found tells
// whether the file could be read; when not, both paths are empty.
struct LexIniReading {
    ContentPaths paths;
    bool found = false;
};
LexIniReading ReadLexIni();

}  // namespace lumera
