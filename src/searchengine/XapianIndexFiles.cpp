#include "searchengine/XapianIndexFiles.h"

#include "searchengine/XapianTextFolding.h"

namespace lumera {

IndexFiles IndexFiles::open(const QString& folder) {
    IndexFiles slices{Xapian::Database(toUtf8(folder)), nullptr, nullptr};
    slices.table = DetailsTable::open(folder, slices.index);
    if (!WordLexicon::keptIn(slices.index)) return slices;
    slices.lexicon = WordLexicon::open(folder, slices.index);
    if (!slices.lexicon) {
        throw Missing(
            toUtf8(QStringLiteral("the index %1 has no usable word lexicon").arg(folder)));
    }
    if (!slices.table) {
        throw Missing(
            toUtf8(QStringLiteral("the index %1 has no usable details table").arg(folder)));
    }
    return slices;
}

}  // namespace lumera
