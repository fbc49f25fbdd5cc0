#include <unistd.h>

#include <QDir>

#include "Commands.h"
#include "EditionInstaller.h"
#include "IndexerCommand.h"
#include "app/EditionSetup.h"

namespace lumera::cli {

int RunSetup(const CommandContext& context) {
    SetupRequest request;
    request.into = editionsetup::DefaultFolder();
    const QStringList& args = context.arguments;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == u"--force") {
            request.force = true;
        } else if ((args[i] == u"--cd" || args[i] == u"--from" || args[i] == u"--into") &&
                   hasValue) {
            QString& value = args[i] == u"--cd"     ? request.cd
                             : args[i] == u"--from" ? request.from
                                                    : request.into;
            value = QDir::current().absoluteFilePath(args[++i]);
        } else {
            context.err << "lumera-cli: setup: argumento inesperado: " << args[i] << "\n";
            return 2;
        }
    }
    if (request.cd.isEmpty()) {
        context.err << "lumera-cli: setup precisa de --cd PASTA ou IMAGEM\n";
        return 2;
    }
    try {
        const SetupResult result = InstallEdition(request);
        context.out << "Installed " << result.folder << "\n"
                    << "Drive " << result.cdDrive << "=" << result.cdSource << "\n"
                    << "Database " << result.database << "\n"
                    << "Template " << result.templateFile << "\n";
        context.out.flush();
        return RunIndexer({QStringLiteral("-C"), result.folder}, context.out, context.err,
                          isatty(STDERR_FILENO) != 0);
    } catch (const SetupError& error) {
        context.err << "lumera-cli: " << error.message << "\n";
        return 1;
    }
}

}  // namespace lumera::cli
