#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace lumera {

// Text keys as a Jet 4 index in the General sort order (that of Access 2000
// to 2003 for Portuguese, English and most Western languages) stores them:
// an entry starts with 0x7F, then each character's primary code (one or two
// bytes; none for the characters the order ignores, such as the hyphen and
// the apostrophe), then 0x01 and codes for accents and the ignored
// characters. Letter case and accents change nothing before the 0x01, so
// every text that folds to a key starts with the same bytes, which an index
// search can look for. Only the primary codes are known here, and only for
// the Latin-1 characters: a key is encoded up to its first character
// outside them, and the search keeps only the rows whose key matches.
namespace generalsort {

// The byte strings every index entry of a text folding to foldedKey starts
// with: one for each spelling the sort order tells apart although the
// folding does not ("k" and the Kelvin sign). Ends with 0x01 when the whole
// key was encoded. Empty when the key is not worth an index search: its
// first character unknown, or too many spellings.
std::vector<QByteArray> entryPrefixes(const QString& foldedKey);

}  // namespace generalsort

}  // namespace lumera
