#pragma once

#include <QString>

namespace lumera {

// Where the content index records its documents; the folder name drops it.
inline const QString kIndexedContentRoot = QStringLiteral("C:\\lex\\");

// The part of path after its last backslash; the whole path without one.
QString ResultFileName(const QString& path);

// path with every occurrence of fileName removed, then of "C:\lex\", then of
// "\": the content folder of a document of the index ("tomo98a"). Plain
// exact-case replacements, so paths outside the index give odd names.
QString ResultFolderName(const QString& path, const QString& fileName);

}  // namespace lumera
