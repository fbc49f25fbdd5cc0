#include "Commands.h"
#include "Edition.h"
#include "articles/ArticlePageBuilder.h"
#include "database/ArticleDatabaseFiles.h"

namespace lumera::cli {

// page KEY: builds the article's page as the reader does and prints the
// browser calls it makes.
int RunPage(const CommandContext& context) {
    if (context.arguments.size() != 1) {
        context.err << "lumera-cli: uso: page CHAVE\n";
        return 2;
    }
    Edition edition(context.driveMappings, context.err);
    ArticleDatabaseFiles databases;
    HeadlessBrowser browser;
    ArticlePageBuilder builder(databases, edition.drives, browser, edition.windows, edition.state);
    const ArticlePageResult result = builder.BuildArticlePage(context.arguments.first());
    for (const QString& call : browser.calls) context.out << call << "\n";
    return result.status == ArticlePageResult::Status::Failed ? 1 : 0;
}

}  // namespace lumera::cli
