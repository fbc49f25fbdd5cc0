#pragma once

#include <QStringList>
#include <QTextStream>

namespace lumera::cli {

// What every command gets: its own arguments (after the command word), the
// drive mappings of the command line, and the two output streams.
struct CommandContext {
    QStringList arguments;
    QStringList driveMappings;
    QTextStream& out;
    QTextStream& err;
};

// Each returns the process exit status.
int RunIni(const CommandContext& context);
int RunOpen(const CommandContext& context);
int RunRoute(const CommandContext& context);
int RunPage(const CommandContext& context);
int RunSearch(const CommandContext& context);
int RunSetup(const CommandContext& context);
int RunExport(const CommandContext& context);

}  // namespace lumera::cli
