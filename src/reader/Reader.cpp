#include "reader/Reader.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>
#include <QWebEngineView>

#include "browser/SearchHighlight.h"
#include "reader/ProgramEnd.h"
#include "reader/ReaderCore.h"
#include "ui/ActivationTracker.h"
#include "ui/BrowserPane.h"
#include "ui/Form1.h"
#include "ui/PageSearchField.h"
#include "ui/PictureWindow.h"
#include "ui/QtWindowSystem.h"
#include "ui/SearchWindow.h"

namespace lumera {

struct Reader::Parts {
    explicit Parts(const QStringList& driveOptions)
        : host(driveOptions, windows),
          pane(host.browser()),
          core(host,
               {searchWindows, pane.commands(), [this] { showPicture(); }, [] { EndProgramNow(); },
                [this](const QString& request) { highlightRequest = request; }}),
          window(core.controller, pane.widget()),
          activation(&window, [this] { core.controller.Form_Activate(); }),
          searchField(&window, host.browser().view(), [this] { core.controller.hom_Click(); }) {
        windows.setParentWindow(&window);
        // The article page opened from the search list shows the searched
        // words; whatever document comes first after the request settles it.
        WebEngineBrowser& browser = host.browser();
        QObject::connect(&browser, &WebEngineBrowser::documentCompleted, &window, [this, &browser] {
            if (highlightRequest.isEmpty()) return;
            if (browser.shownAddress().endsWith(QStringLiteral("vf.htm"), Qt::CaseInsensitive)) {
                browser.searchHighlight()->mark(highlightRequest);
            }
            highlightRequest.clear();
        });
    }

    void showPicture() {
        if (!tv) tv = std::make_unique<PictureWindow>(PictureWindow::defaultPicture());
        tv->showAndRaise();
    }

    WidgetSearchWindowFactory searchWindows;
    QtWindowSystem windows;
    ReaderHost host;
    BrowserPane pane;
    ReaderCore core;
    Form1 window;
    ActivationTracker activation;
    PageSearchField searchField;
    std::unique_ptr<PictureWindow> tv;
    QString highlightRequest;
};

Reader::Reader(const QStringList& driveOptions) : parts_(std::make_unique<Parts>(driveOptions)) {}

Reader::~Reader() = default;

void Reader::start() {
    parts_->core.controller.Form_Load();
    parts_->window.show();
    // The keyboard is the reader's from the start, also where no window
    // manager hands it over.
    parts_->window.activateWindow();
}

Form1& Reader::window() { return parts_->window; }
WebEngineBrowser& Reader::browser() { return parts_->host.browser(); }
BrowserPane& Reader::pane() { return parts_->pane; }
SearchController& Reader::search() { return parts_->core.search; }
const ReaderState& Reader::state() const { return parts_->core.state; }
PictureWindow* Reader::pictureWindow() const { return parts_->tv.get(); }

namespace {

// Once the home page is shown, saves the window's picture to file, prints
// what it shows and ends the program: 0 when saved, 1 when the page never
// came or the picture could not be written.
void ScreenshotOfHomePage(Reader& reader, const QString& file) {
    constexpr int kSettleMs = 500;  // the page painted, not just loaded
    constexpr int kGiveUpMs = 60000;
    QObject::connect(
        &reader.browser(), &WebEngineBrowser::documentCompleted, &reader.window(),
        [&reader, file] {
            QTimer::singleShot(kSettleMs, &reader.window(), [&reader, file] {
                QTextStream out(stdout);
                out << "Shown " << reader.browser().shownAddress() << "\n"
                    << "Title " << reader.browser().view()->title() << "\n";
                const bool saved = reader.window().grab().save(file, "PNG");
                if (!saved)
                    QTextStream(stderr) << "lumera: não foi possível gravar " << file << "\n";
                QCoreApplication::exit(saved ? 0 : 1);
            });
        },
        Qt::SingleShotConnection);
    QTimer::singleShot(kGiveUpMs, &reader.window(), [] {
        QTextStream(stderr) << "lumera: a página inicial não abriu em 60 s\n";
        QCoreApplication::exit(1);
    });
}

}  // namespace

int RunReader(const QStringList& driveOptions, const QString& screenshotFile) {
    Reader reader(driveOptions);
    if (!screenshotFile.isEmpty()) ScreenshotOfHomePage(reader, screenshotFile);
    reader.start();
    return QApplication::exec();
}

}  // namespace lumera
