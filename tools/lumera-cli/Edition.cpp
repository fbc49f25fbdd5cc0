#include "Edition.h"

#include <QDir>

#include "platform/DriveSetup.h"

namespace lumera::cli {

void Edition::open(const QStringList& driveMappings, QTextStream& err) {
    const LexIniReading ini = ReadLexIni();
    iniFound = ini.found;
    if (!ini.found) {
        err << "lumera-cli: o arquivo lex.ini não foi encontrado na pasta " << QDir::currentPath()
            << "\n";
    }
    state.InstallPath = ini.paths.installPath;
    state.CdRomPath = ini.paths.cdRomPath;
    for (const QString& problem : MapDrives(drives, driveMappings)) {
        err << "lumera-cli: " << problem << "\n";
    }
    const QString missingCd = LocateContent(drives, state.InstallPath, state.CdRomPath);
    if (!missingCd.isEmpty()) err << "lumera-cli: " << missingCd << "\n";
}

}  // namespace lumera::cli
