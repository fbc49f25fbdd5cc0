#include <QCoreApplication>
#include <optional>

#include "Commands.h"
#include "Edition.h"
#include "articles/ArticlePageBuilder.h"
#include "database/ArticleDatabaseFiles.h"
#include "headless/HeadlessBrowser.h"
#include "headless/HeadlessWindowSystem.h"
#include "host/ReaderState.h"
#include "media/DriveMap.h"
#include "search/SearchController.h"

namespace lumera::cli {
namespace {

// search TEXT [--folder F] [--open N]
struct SearchRequest {
    QString text;
    std::optional<QString> folder;
    std::optional<int> openRow;
    QString error;
};

SearchRequest parseSearchRequest(const QStringList& args) {
    SearchRequest request;
    bool haveText = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == u"--folder" || arg == u"--open") {
            if (i + 1 >= args.size()) {
                request.error = arg + QStringLiteral(" precisa de um valor");
                return request;
            }
            const QString& value = args[++i];
            if (arg == u"--folder") {
                request.folder = value;
                continue;
            }
            bool number = false;
            request.openRow = value.toInt(&number);
            if (!number || *request.openRow < 0) {
                request.error = QStringLiteral("--open precisa de um número de linha: ") + value;
                return request;
            }
        } else if (!haveText) {
            request.text = arg;
            haveText = true;
        } else {
            request.error = QStringLiteral("argumento a mais: ") + arg;
            return request;
        }
    }
    if (!haveText) request.error = QStringLiteral("falta o texto a procurar");
    return request;
}

void printList(QTextStream& out, const char* name, const ListControl& list) {
    for (int row = 0; row < list.ListCount(); ++row) {
        out << name << " " << list.entry(row).ItemData << " " << list.entry(row).text << "\n";
    }
}

void printWindow(QTextStream& out, const SearchWindowModel& window) {
    printList(out, "FoundList", window.FoundList());
    printList(out, "List1", window.List1());
    printList(out, "List2", window.List2());
    for (int row = 0; row < window.Combo1().ListCount(); ++row) {
        out << "Combo1 " << window.Combo1().entry(row).text << "\n";
    }
    out << "Label2 " << window.Label2() << "\n";
    if (!window.otherSpellingsNote().isEmpty()) {
        out << "OtherSpellings " << window.otherSpellingsNote() << "\n";
    }
}

// The folder filter as Combo1 would run it: through the entry when there is one.
void chooseFolder(SearchController& search, const QString& folder) {
    const int row = search.window()->Combo1().findText(folder);
    if (row >= 0) {
        search.Combo1_Click(row);
    } else {
        search.FilterByFolder(folder);
    }
}

}  // namespace

int RunSearch(const CommandContext& context) {
    const SearchRequest request = parseSearchRequest(context.arguments);
    if (!request.error.isEmpty()) {
        context.err << "lumera-cli: search: " << request.error << "\n"
                    << "Uso: lumera-cli search TEXTO [--folder PASTA] [--open N]\n";
        return 2;
    }
    Edition edition(context.driveMappings, context.err);
    if (!edition.installFolderExists()) {
        context.err << "lumera-cli: não foi possível ler a edição: a pasta de instalação "
                    << edition.drives.absolutePath(edition.state.InstallPath)
                    << " não existe nesta máquina\n";
        return 1;
    }
    ReaderState& state = edition.state;
    DriveMap& drives = edition.drives;
    edition.startSearchEngine();

    // Message boxes become lines as they are shown; nothing waits for a user.
    HeadlessWindowSystem windows;
    windows.onMessage = [&out = context.out](const ShownMessage& message) {
        out << "Message " << message.title << "|" << message.text << "\n";
    };
    windows.onProcessEvents = [] { QCoreApplication::processEvents(); };
    HeadlessBrowser browser;
    ArticleDatabaseFiles databases;
    ArticlePageBuilder pages(databases, drives, browser, windows, state);
    std::optional<ArticlePageResult> opened;
    QString openedKey;
    HeadlessSearchWindowFactory views;
    SearchController search(state, {windows, views,
                                    [&](QString& key) {
                                        openedKey = key;
                                        opened = pages.BuildArticlePage(key);
                                    },
                                    [] {}});

    search.LookUpArticleTitle(request.text);
    if (const QString failure = search.driver().SearchFailure(); !failure.isEmpty()) {
        printWindow(context.out, *search.window());
        context.err << "lumera-cli: search: " << failure << "\n";
        return 1;
    }
    if (request.folder) chooseFolder(search, *request.folder);
    const SearchWindowModel& window = *search.window();
    if (request.openRow) {
        const int rows = window.FoundList().ListCount();
        if (*request.openRow >= rows) {
            context.err << "lumera-cli: search: --open " << *request.openRow
                        << " está além da lista, que tem " << rows << " entradas\n";
            return 1;
        }
        search.FoundList_Click(*request.openRow);
    }
    printWindow(context.out, window);
    for (const QString& call : browser.calls) context.out << call << "\n";

    if (request.openRow) {
        if (!opened || opened->status == ArticlePageResult::Status::Failed) {
            context.err << "lumera-cli: search: o verbete " << openedKey
                        << " não pôde ser aberto\n";
            return 1;
        }
        if (opened->status == ArticlePageResult::Status::NotFound) {
            context.err << "lumera-cli: search: o verbete " << openedKey
                        << " não está na base de dados\n";
            return 1;
        }
    }
    return 0;
}

}  // namespace lumera::cli
