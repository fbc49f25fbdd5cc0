#include "Reader.h"

#include <QApplication>

#include "ReaderCore.h"
#include "platform/ProgramEnd.h"
#include "ui/ActivationTracker.h"
#include "ui/Form1.h"
#include "ui/PictureWindow.h"
#include "ui/SearchWindow.h"

namespace lumera {

struct Reader::Parts {
    explicit Parts(const QStringList& driveOptions)
        : core(driveOptions, {searchWindows, [this] { showPicture(); }, [] { EndProgramNow(); }}),
          window(core.controller, core.host.browser().widget()),
          activation(&window, [this] { core.controller.Form_Activate(); }) {
        core.host.windows().setParentWindow(&window);
    }

    void showPicture() {
        if (!tv) tv = std::make_unique<PictureWindow>(PictureWindow::defaultPicture());
        tv->showAndRaise();
    }

    WidgetSearchWindowFactory searchWindows;
    ReaderCore core;
    Form1 window;
    ActivationTracker activation;
    std::unique_ptr<PictureWindow> tv;
};

Reader::Reader(const QStringList& driveOptions) : parts_(std::make_unique<Parts>(driveOptions)) {}

Reader::~Reader() = default;

void Reader::start() {
    parts_->core.controller.Form_Load();
    parts_->window.show();
}

Form1& Reader::window() { return parts_->window; }
WebEngineBrowser& Reader::browser() { return parts_->core.host.browser(); }
SearchController& Reader::search() { return parts_->core.search; }
const ReaderState& Reader::state() const { return parts_->core.state; }
PictureWindow* Reader::pictureWindow() const { return parts_->tv.get(); }

int RunReader(const QStringList& driveOptions) {
    Reader reader(driveOptions);
    reader.start();
    return QApplication::exec();
}

}  // namespace lumera
