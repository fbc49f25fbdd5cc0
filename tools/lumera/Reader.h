#pragma once

#include <QStringList>

namespace lumera {

// Builds the main window on the real components and runs the event loop.
int RunReader(const QStringList& driveOptions);

}  // namespace lumera
