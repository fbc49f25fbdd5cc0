#pragma once

#include <xapian.h>

#include <QString>

namespace lumera {

// How the index stores what a result shows, shared by the writer and the
// reader: the document data holds the title and the path, so a result is
// read with one lookup; the title is also kept in a value slot for sorting.
struct IndexedDetails {
    QString title;
    QString path;
};

namespace indexformat {
inline constexpr Xapian::valueno kTitleSlot = 0;
// Where the content's documents live as the reader's paths name them.
inline const QString kPathRoot = QStringLiteral("C:\\lex\\");
// The index folder the indexer installs and the list that names it.
inline const QString kIndexFolder = QStringLiteral("indice");
inline const QString kIndexListFile = QStringLiteral("search.lst");
}  // namespace indexformat

std::string encodeDetails(const IndexedDetails& details);
IndexedDetails decodeDetails(const std::string& data);

// "C:\lex\" + folder + "\" + key.
QString indexedPath(const QString& folder, const QString& key);

}  // namespace lumera
