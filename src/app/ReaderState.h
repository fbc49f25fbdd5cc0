#pragma once

#include <QString>
#include <memory>

#include "host/SearchEngine.h"

namespace lumera {

// What start-up sets and every part of the reader reads.
struct ReaderState {
    QString InstallPath;
    QString CdRomPath;
    std::shared_ptr<SearchEngine> engine;  // SearchEngine; empty until the first activation
};

}  // namespace lumera
