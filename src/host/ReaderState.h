#pragma once

#include <memory>

#include "host/ContentPaths.h"
#include "host/SearchEngine.h"

namespace lumera {

// What start-up sets and every part of the reader reads: InstallPath and
// CdRomPath, and the engine (SearchEngine), empty until the first activation.
struct ReaderState : ContentPaths {
    std::shared_ptr<SearchEngine> engine;
};

}  // namespace lumera
