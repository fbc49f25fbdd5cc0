#pragma once

#include <memory>

#include "articles/ArticlePageBuilder.h"
#include "host/SearchEngine.h"

namespace lumera {

// What start-up sets and every part of the reader reads: InstallPath and
// CdRomPath, and the engine (SearchEngine), empty until the first activation.
struct ReaderState : ArticlePaths {
    std::shared_ptr<SearchEngine> engine;
};

}  // namespace lumera
