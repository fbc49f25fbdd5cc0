#include <unistd.h>

#include <memory>

#include "Commands.h"
#include "edition/Interruption.h"
#include "edition/ProgressBar.h"
#include "edition/ZimExport.h"

namespace lumera::cli {

int RunExport(const CommandContext& context) {
    const QStringList& args = context.arguments;
    if (args.size() != 2 || args[0] != u"--zim" || args[1].isEmpty()) {
        context.err << "lumera-cli: uso: export --zim ARQUIVO.zim\n";
        return 2;
    }
    const Interruption interruption;
    // On a terminal a bar for each stage, as lumera-index draws; the last
    // stage, which shows no count, is told anywhere.
    const bool terminal = isatty(STDERR_FILENO) != 0;
    std::unique_ptr<ProgressBar> bar;
    ExportStage shown = ExportStage::Articles;
    int lastDone = 0;
    const auto progress = [&](ExportStage stage, int done, int total) {
        if (bar && stage != shown) {
            bar->finish(lastDone);
            bar.reset();
        }
        shown = stage;
        if (stage == ExportStage::Finishing) {
            context.err << "Concluindo o arquivo ZIM e o seu índice de pesquisa...\n";
            context.err.flush();
            return;
        }
        if (!terminal) return;
        if (!bar) {
            const bool articles = stage == ExportStage::Articles;
            bar = std::make_unique<ProgressBar>(
                context.err, total,
                articles ? QStringLiteral("artigos") : QStringLiteral("arquivos do CD"));
        }
        bar->update(lastDone = done);
    };
    const int status = ExportZim(context.driveMappings, args[1], context.out, context.err, progress,
                                 interruption.requested());
    if (bar) bar->finish(lastDone);
    return status;
}

}  // namespace lumera::cli
