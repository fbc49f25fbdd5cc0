#pragma once

#include <QString>

namespace lumera {

// What must happen before the application object of a program that runs the
// browser: the drive schemes registered, the page readable by assistive
// technology, and Chromium's sandbox, which refuses to start as root, turned
// off with a note on stderr naming program.
void PrepareBrowserProcess(const QString& program);

}  // namespace lumera
