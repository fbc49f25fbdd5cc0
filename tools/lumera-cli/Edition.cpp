#include "Edition.h"

#include "platform/DriveSetup.h"

namespace lumera::cli {

Edition::Edition(const QStringList& driveMappings, QTextStream& err)
    : windows_(err),
      controller_(state, StartupServices(noBrowser_, windows_, engines_, drives,
                                         QStringLiteral("lumera-cli"))) {
    for (const QString& problem : MapDrives(drives, driveMappings)) {
        err << "lumera-cli: " << problem << "\n";
    }
    controller_.Form_Load();
}

}  // namespace lumera::cli
