#include "reader/ReaderCore.h"

#include <QTextStream>

#include "browser/MissingFilePage.h"
#include "media/DriveSetup.h"
#include "search/TitleLookup.h"

namespace lumera {
Form1Controller::Services StartupServices(Browser& browser, PageCommands& page,
                                          WindowSystem& windows, SearchEngineFactory& engines,
                                          DriveMap& drives, const QString& program,
                                          std::function<void()> endProgram) {
    return {
        browser,
        page,
        windows,
        engines,
        [&drives, program](const ContentPaths& paths) {
            const QString problem = LocateContent(drives, paths.InstallPath, paths.CdRomPath);
            if (!problem.isEmpty()) QTextStream(stderr) << program << ": " << problem << "\n";
        },
        std::move(endProgram),
    };
}

ReaderCore::ReaderCore(ReaderHost& readerHost, FrontEnd frontEnd)
    : host(readerHost),
      controller(state, StartupServices(host.browser(), frontEnd.pageCommands, host.windows(),
                                        host.engines(), host.drives(), QStringLiteral("lumera"),
                                        frontEnd.endProgram)),
      pages(host.databases(), host.drives(), host.browser(), host.windows(), state),
      search(state, {host.windows(), frontEnd.searchWindows,
                     [this](QString& key) {
                         if (frontEnd_.articleFromSearch && search.window()) {
                             frontEnd_.articleFromSearch(RequestWithSpellings(
                                 search.window()->Text1(), search.driver().OtherSpellings()));
                         }
                         buildArticle(key);
                     },
                     [this] { controller.hom_Click(); }, frontEnd.searchIndexUnusable}),
      router(host.browser(), *this, host.drives(), state.CdRomPath),
      history(host.browser(), *this),
      frontEnd_(std::move(frontEnd)) {
    host.browser().setEventSink(&router);
    host.browser().setHistory(&history);
    QObject::connect(&host.browser(), &WebEngineBrowser::pageShown, &host.browser(),
                     [this](const QString& address) { history.shown(address); });
    QTextStream err(stderr);
    for (const QString& problem : host.problems()) err << "lumera: " << problem << "\n";
}

ReaderCore::~ReaderCore() {
    host.browser().setHistory(nullptr);
    host.browser().setEventSink(nullptr);
}

ArticlePageResult ReaderCore::buildArticle(QString& key) {
    const QString requested = key;
    const ArticlePageResult result = pages.BuildArticlePage(key);
    if (result.status == ArticlePageResult::Status::Built ||
        result.status == ArticlePageResult::Status::Queued) {
        history.articleBuilt(requested);
        if (frontEnd_.articleBuilt) frontEnd_.articleBuilt(requested);
    }
    if (result.status == ArticlePageResult::Status::Built) shownTitle_ = result.title;
    return result;
}

ArticleRequest ReaderCore::BuildArticlePage(QString& pageName) {
    if (pageName == kPointToTheCdPage && frontEnd_.pointToTheCd) {
        frontEnd_.pointToTheCd();
        return ArticleRequest::Handled;
    }
    // The see-also table's "Website" row links to /procura.asp?"" and names
    // nothing: it searches this encyclopedia for the article it is in.
    if (pageName.startsWith(QStringLiteral("procura.asp"), Qt::CaseInsensitive) &&
        !shownTitle_.isEmpty()) {
        QString title = shownTitle_;
        search.LookUpArticleTitle(title);
        return ArticleRequest::Handled;
    }
    const bool missing = buildArticle(pageName).status == ArticlePageResult::Status::NotFound;
    return missing ? ArticleRequest::NoArticle : ArticleRequest::Handled;
}

}  // namespace lumera
