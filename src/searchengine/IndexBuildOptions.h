#pragma once

#include <stdexcept>

#include "searchengine/XapianWrittenWords.h"

namespace lumera {

class IndexBuildError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// How IndexBuilder builds an index.
struct IndexBuildOptions {
    // Documents per commit. Small batches build faster than large ones: the
    // pending changes of a large batch no longer fit the processor's caches.
    int commitEvery = 250;
    // The stems of the folded spellings; off only to measure what they bring.
    bool foldedStems = true;
    // AsTerms builds the format of the indexes before the word lexicon, to
    // measure and test against.
    WrittenWordsKept written = WrittenWordsKept::InLexicon;
    // Threads that prepare documents, in each slice.
    int preparers = 1;
    int slices = 1;
};

}  // namespace lumera
