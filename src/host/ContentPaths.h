#pragma once

#include <QString>

namespace lumera {

// Where the content lies, as lex.ini gives it; set once at start-up.
struct ContentPaths {
    // With its trailing separator: file names are appended directly.
    QString InstallPath;
    // The CD-ROM drive, e.g. "D:", at most two characters.
    QString CdRomPath;
};

}  // namespace lumera
