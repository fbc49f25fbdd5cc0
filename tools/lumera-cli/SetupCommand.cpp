#include <unistd.h>

#include <QDir>
#include <memory>

#include "Commands.h"
#include "app/EditionSetup.h"
#include "edition/EditionInstaller.h"
#include "edition/ProgressBar.h"

namespace lumera::cli {

int RunSetup(const CommandContext& context) {
    SetupRequest request;
    request.into = editionsetup::DefaultFolder();
    const QStringList& args = context.arguments;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size() && !args[i + 1].isEmpty();
        if (args[i] == u"--force") {
            request.force = true;
        } else if ((args[i] == u"--cd" || args[i] == u"--from" || args[i] == u"--into") &&
                   hasValue) {
            QString& value = args[i] == u"--cd"     ? request.cd
                             : args[i] == u"--from" ? request.from
                                                    : request.into;
            value = QDir::current().absoluteFilePath(args[++i]);
        } else {
            context.err << "lumera-cli: setup: argumento inesperado ou sem valor: " << args[i]
                        << "\n";
            return 2;
        }
    }
    if (request.cd.isEmpty()) {
        context.err << "lumera-cli: setup precisa de --cd PASTA ou IMAGEM\n";
        return 2;
    }
    // The indexing is the long part: a bar on a terminal, as lumera-index draws.
    std::unique_ptr<ProgressBar> bar;
    qint64 indexed = 0;
    SetupProgress progress;
    if (isatty(STDERR_FILENO)) {
        progress = [&](SetupStage stage, qint64 done, qint64 total) {
            if (stage != SetupStage::Indexing) return;
            if (!bar) bar = std::make_unique<ProgressBar>(context.err, int(total));
            bar->update(int(indexed = done));
        };
    }
    try {
        const SetupResult result = InstallEdition(request, progress);
        if (bar) bar->finish(int(indexed));
        context.out << "Installed " << result.folder << "\n"
                    << "Drive " << result.cdDrive << "=" << result.cdSource << "\n"
                    << "Database " << result.database << "\n"
                    << "Template " << result.templateFile << "\n"
                    << result.indexReport;
        return 0;
    } catch (const SetupError& error) {
        if (bar) bar->finish(int(indexed));
        context.err << "lumera-cli: " << error.message << "\n";
        return 1;
    }
}

}  // namespace lumera::cli
