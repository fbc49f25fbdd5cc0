#include "Reader.h"

#include <QApplication>
#include <QTextStream>

#include "app/ActivationTracker.h"
#include "app/Form1.h"
#include "app/Form1Controller.h"
#include "app/PictureWindow.h"
#include "articles/ArticlePageBuilder.h"
#include "navigation/Router.h"
#include "platform/DriveSetup.h"
#include "platform/ReaderHost.h"
#include "search/SearchController.h"
#include "search/SearchWindow.h"

namespace lumera {
namespace {

// What the router hands over, on the reader's real windows.
class ReaderActions : public RouterActions {
public:
    ReaderActions(ArticlePageBuilder& pages, SearchController& search)
        : pages_(pages), search_(search) {}

    void BuildArticlePage(QString& pageName) override { pages_.BuildArticlePage(pageName); }
    void LookUpArticleTitle(QString& text) override { search_.LookUpArticleTitle(text); }
    void ShowPicture() override {
        if (!tv_) tv_ = std::make_unique<PictureWindow>(PictureWindow::defaultPicture());
        tv_->showAndRaise();
    }

private:
    ArticlePageBuilder& pages_;
    SearchController& search_;
    std::unique_ptr<PictureWindow> tv_;
};

}  // namespace

int RunReader(const QStringList& driveOptions) {
    ReaderHost host(driveOptions);
    QTextStream err(stderr);
    for (const QString& problem : host.problems()) err << "lumera: " << problem << "\n";
    err.flush();

    ReaderState state;
    Form1Controller::Services services{
        host.browser(),
        host.windows(),
        host.engines(),
        QCoreApplication::applicationDirPath(),
        [&host](const ContentPaths& paths) {
            const QString problem =
                LocateContent(host.drives(), paths.installPath, paths.cdRomPath);
            if (!problem.isEmpty()) QTextStream(stderr) << "lumera: " << problem << "\n";
        },
        [] { QCoreApplication::exit(0); },
    };
    Form1Controller controller(state, services);

    ArticlePageBuilder pages(host.databases(), host.drives(), host.browser(), host.windows(), state);
    WidgetSearchWindowFactory searchWindows;
    SearchController search(state, {host.windows(), searchWindows,
                                    [&pages](QString& key) { pages.BuildArticlePage(key); },
                                    [&controller] { controller.hom_Click(); }});
    ReaderActions actions(pages, search);
    Router router(host.browser(), actions, state.CdRomPath);
    host.browser().setEventSink(&router);

    Form1 window(controller, host.browser().widget());
    host.windows().setParentWindow(&window);
    ActivationTracker activation(&window, [&controller] { controller.Form_Activate(); });

    controller.Form_Load();
    window.show();
    const int status = QApplication::exec();
    host.browser().setEventSink(nullptr);
    return status;
}

}  // namespace lumera
