#include "edition/EditionAtHand.h"

#include <QDir>

#include "app/LexIni.h"
#include "media/DriveSetup.h"

namespace lumera {

std::unique_ptr<EditionAtHand> EditionAtHand::open(const QStringList& driveOptions,
                                                   const QString& program, QTextStream& err) {
    const LexIniReading ini = ReadLexIni();
    if (!ini.found) {
        throw EditionProblem{QStringLiteral("o arquivo lex.ini não foi encontrado na pasta %1.")
                                 .arg(QDir::toNativeSeparators(QDir::currentPath()))};
    }
    auto edition = std::make_unique<EditionAtHand>();
    edition->paths = ini.paths;
    for (const QString& problem : MapDrives(edition->drives, driveOptions)) {
        err << program << ": " << problem << "\n";
    }
    edition->cdProblem = LocateContent(edition->drives, ini.paths.InstallPath, ini.paths.CdRomPath);
    edition->databaseFile =
        edition->drives.existingFile(ini.paths.InstallPath + QStringLiteral("lex.mdb"));
    if (edition->databaseFile.isEmpty()) {
        throw EditionProblem{
            QStringLiteral("a base de dados %1lex.mdb não foi encontrada. Confira a "
                           "linha PATH= do lex.ini e as opções --drive.")
                .arg(ini.paths.InstallPath)};
    }
    return edition;
}

}  // namespace lumera
