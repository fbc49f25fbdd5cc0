#include "Reader.h"

#include <QApplication>
#include <QTextStream>

#include "app/ActivationTracker.h"
#include "app/Form1.h"
#include "app/Form1Controller.h"
#include "app/PictureWindow.h"
#include "navigation/Router.h"
#include "platform/DriveSetup.h"
#include "platform/ReaderHost.h"

namespace lumera {
namespace {

// Until the full-text engine is installed, no engine object can be made and
// a lookup says so instead of searching.
class NoSearchEngine : public SearchEngineFactory {
public:
    std::shared_ptr<SearchEngine> create() override { return nullptr; }
};

// What the router hands over, on the reader's real windows.
class ReaderActions : public RouterActions {
public:
    void BuildArticlePage(QString&) override {}
    void LookUpArticleTitle(QString&) override {}
    void ShowPicture() override {
        if (!tv_) tv_ = std::make_unique<PictureWindow>(QPixmap(QStringLiteral(":/lumera/tv.jpg")));
        tv_->showAndRaise();
    }

private:
    std::unique_ptr<PictureWindow> tv_;
};

}  // namespace

int RunReader(const QStringList& driveOptions) {
    ReaderHost host(driveOptions, std::make_unique<NoSearchEngine>());
    QTextStream err(stderr);
    for (const QString& problem : host.problems()) err << "lumera: " << problem << "\n";
    err.flush();

    ReaderState state;
    ReaderActions actions;
    Router router(host.browser(), actions, state.CdRomPath);
    host.browser().setEventSink(&router);

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
