#include "searchengine/XapianIndexFiles.h"

#include "searchengine/XapianTextFolding.h"

namespace lumera {

IndexFiles IndexFiles::open(const QString& folder) {
    IndexFiles files{Xapian::Database(toUtf8(folder)), nullptr, nullptr};
    files.table = DetailsTable::open(folder, files.index);
    if (!WordLexicon::keptIn(files.index)) return files;
    files.lexicon = WordLexicon::open(folder, files.index);
    if (!files.lexicon) {
        throw Missing(
            toUtf8(QStringLiteral("the index %1 has no usable word lexicon").arg(folder)));
    }
    if (!files.table) {
        throw Missing(
            toUtf8(QStringLiteral("the index %1 has no usable details table").arg(folder)));
    }
    return files;
}

}  // namespace lumera
