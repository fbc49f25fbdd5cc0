#include "Edition.h"

#include "media/DriveSetup.h"

namespace lumera::cli {

Edition::Edition(const QStringList& driveMappings, QTextStream& err)
    : controller_(state, StartupServices(startupBrowser_, startupBrowser_, windows, engines_,
                                         drives, QStringLiteral("lumera-cli"))) {
    windows.onMessage = [&err](const ShownMessage& message) {
        err << "lumera-cli: " << message.title << ": " << message.text << "\n";
    };
    for (const QString& problem : MapDrives(drives, driveMappings)) {
        err << "lumera-cli: " << problem << "\n";
    }
    controller_.Form_Load();
}

}  // namespace lumera::cli
