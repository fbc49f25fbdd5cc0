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
    PictureWindow* pictureWindow() const { return tv_.get(); }

  private:
    ArticlePageBuilder& pages_;
    SearchController& search_;
    std::unique_ptr<PictureWindow> tv_;
};

Form1Controller::Services controllerServices(ReaderHost& host) {
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
        [] { QCoreApplication::exit(0); },
    };
}

}  // namespace

struct Reader::Parts {
    explicit Parts(const QStringList& driveOptions)
        : host(driveOptions),
          controller(state, controllerServices(host)),
          pages(host.databases(), host.drives(), host.browser(), host.windows(), state),
          search(state, {host.windows(), searchWindows,
                         [this](QString& key) { pages.BuildArticlePage(key); },
                         [this] { controller.hom_Click(); }}),
          actions(pages, search),
          router(host.browser(), actions, state.CdRomPath),
          window(controller, host.browser().widget()),
          activation(&window, [this] { controller.Form_Activate(); }) {
        host.browser().setEventSink(&router);
        host.windows().setParentWindow(&window);
    }
    ~Parts() { host.browser().setEventSink(nullptr); }

    ReaderHost host;
    ReaderState state;
    Form1Controller controller;
    ArticlePageBuilder pages;
    WidgetSearchWindowFactory searchWindows;
    SearchController search;
    ReaderActions actions;
    Router router;
    Form1 window;
    ActivationTracker activation;
};

Reader::Reader(const QStringList& driveOptions) : parts_(std::make_unique<Parts>(driveOptions)) {
    QTextStream err(stderr);
    for (const QString& problem : parts_->host.problems()) err << "lumera: " << problem << "\n";
}

Reader::~Reader() = default;

void Reader::start() {
    parts_->controller.Form_Load();
    parts_->window.show();
}

Form1& Reader::window() { return parts_->window; }
WebEngineBrowser& Reader::browser() { return parts_->host.browser(); }
SearchController& Reader::search() { return parts_->search; }
const ReaderState& Reader::state() const { return parts_->state; }
PictureWindow* Reader::pictureWindow() const { return parts_->actions.pictureWindow(); }

int RunReader(const QStringList& driveOptions) {
    Reader reader(driveOptions);
    reader.start();
    return QApplication::exec();
}

}  // namespace lumera
