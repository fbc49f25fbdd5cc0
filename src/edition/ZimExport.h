#pragma once

#include <QStringList>
#include <QTextStream>
#include <atomic>
#include <functional>

namespace lumera {

enum class ExportStage { Articles, Files, Finishing };
// done so far of total, 0 when the total is not known beforehand.
using ExportProgress = std::function<void(ExportStage stage, int done, int total)>;

// Writes the edition the reader would open from the current folder into the
// ZIM file target, for the Kiwix readers and kiwix-serve: every article's
// page as the reader builds it, every file of the CD that a stored page
// shows or links to, the home page as the main entry, a full-text index in
// Portuguese. Pages are made one at a time as libzim takes them. target
// appears only once complete; when stop is set (checked at every page) or
// anything fails, nothing is left. Returns the exit status: 0, 1 on failure
// (message on err), 130 when stopped.
int ExportZim(const QStringList& driveOptions, const QString& target, QTextStream& out,
              QTextStream& err, const ExportProgress& progress, const std::atomic_bool& stop);

}  // namespace lumera
