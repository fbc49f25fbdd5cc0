#include "ReaderCore.h"

#include <QCoreApplication>
#include <QTextStream>

#include "platform/DriveSetup.h"

namespace lumera {
namespace {

Form1Controller::Services controllerServices(ReaderHost& host, std::function<void()> endProgram) {
    return {
        host.browser(),
        host.windows(),
        host.engines(),
        QCoreApplication::applicationDirPath(),
        [&host](const ContentPaths& paths) {
            const QString problem =
                LocateContent(host.drives(), paths.installPath, paths.cdRomPath);
            if (!problem.isEmpty()) QTextStream(stderr) << "lumera: " << problem << "\n";
        },
        std::move(endProgram),
    };
}

}  // namespace

ReaderCore::ReaderCore(const QStringList& driveOptions, FrontEnd frontEnd)
    : host(driveOptions),
      controller(state, controllerServices(host, frontEnd.endProgram)),
      pages(host.databases(), host.drives(), host.browser(), host.windows(), state),
      search(state, {host.windows(), frontEnd.searchWindows,
                     [this](QString& key) { pages.BuildArticlePage(key); },
                     [this] { controller.hom_Click(); }}),
      router(host.browser(), *this, host.drives(), state.CdRomPath),
      frontEnd_(std::move(frontEnd)) {
    host.browser().setEventSink(&router);
    QTextStream err(stderr);
    for (const QString& problem : host.problems()) err << "lumera: " << problem << "\n";
}

ReaderCore::~ReaderCore() { host.browser().setEventSink(nullptr); }

ArticleRequest ReaderCore::BuildArticlePage(QString& pageName) {
    const bool missing =
        pages.BuildArticlePage(pageName).status == ArticlePageResult::Status::NotFound;
    return missing ? ArticleRequest::NoArticle : ArticleRequest::Handled;
}

}  // namespace lumera
