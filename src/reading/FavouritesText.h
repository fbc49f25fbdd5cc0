#pragma once

#include <QList>
#include <QString>

#include "reading/ReadingStore.h"

namespace lumera {

// Favourites as a plain text file a person can read and edit: a comment line,
// then one favourite a line, its date, key, title and note apart by tabs (a
// tab, a line end or a backslash inside a field written \t, \n, \\).
namespace favouritestext {

QString write(const QList<ReadingEntry>& favourites);
// The favourites of text; lines that are blank, comments or short of a key
// and a title are left out.
QList<ReadingEntry> read(const QString& text);

}  // namespace favouritestext
}  // namespace lumera
