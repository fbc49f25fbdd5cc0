#include "Reader.h"

#include <QApplication>
#include <QTextStream>

#include "app/ActivationTracker.h"
#include "app/Form1.h"
#include "app/Form1Controller.h"
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

}  // namespace

int RunReader(const QStringList& driveOptions) {
    ReaderHost host(driveOptions, std::make_unique<NoSearchEngine>());
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
    Form1 window(controller, host.browser().widget());
    host.windows().setParentWindow(&window);
    ActivationTracker activation(&window, [&controller] { controller.Form_Activate(); });

    controller.Form_Load();
    window.show();
    return QApplication::exec();
}

}  // namespace lumera
