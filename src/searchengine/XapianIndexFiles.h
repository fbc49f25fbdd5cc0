#pragma once

#include <xapian.h>

#include <QString>
#include <memory>
#include <stdexcept>

#include "searchengine/XapianDetailsTable.h"
#include "searchengine/XapianWordLexicon.h"

namespace lumera {

// What a search reads of one index: Xapian's tables, and beside them the
// details table and, for an index that keeps its words as written in one,
// the word lexicon. Such an index has neither document data nor the title
// values that indexes before it had: both its files are needed.
struct IndexFiles {
    struct Missing : std::runtime_error {
        using std::runtime_error::runtime_error;
    };
    // Throws Xapian::Error, and Missing for a file the index cannot do without.
    static IndexFiles open(const QString& folder);

    Xapian::Database index;
    std::shared_ptr<const DetailsTable> table;   // null: read each document's data
    std::shared_ptr<const WordLexicon> lexicon;  // null: the words are terms
};

}  // namespace lumera
