#include "reader/Reader.h"

#include <QAction>
#include <QDir>

#include <QApplication>
#include <QStandardPaths>
#include <QTextStream>
#include <QTimer>
#include <QWebEngineView>

#include "browser/DarkPageStyle.h"
#include "browser/SearchHighlight.h"
#include "reader/FirstRun.h"
#include "reader/ProgramEnd.h"
#include "reader/ReaderCore.h"
#include "reading/ReadingActions.h"
#include "reading/ReadingSession.h"
#include "reading/ReadingStore.h"
#include "reading/ReadingTheme.h"
#include "ui/ActivationTracker.h"
#include "ui/BrowserPane.h"
#include "ui/Form1.h"
#include "ui/PageSearchField.h"
#include "ui/PageZoom.h"
#include "ui/PictureWindow.h"
#include "ui/QtWindowSystem.h"
#include "ui/ReaderContextMenu.h"
#include "ui/SearchWindow.h"

namespace lumera {
namespace {

// The favourites and the history, in the user's data folder; without them
// the reader still reads.
std::unique_ptr<ReadingStore> OpenReadingStore() {
    const QString file = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                         QStringLiteral("/leitura.sqlite");
    try {
        return std::make_unique<ReadingStore>(file);
    } catch (const DatabaseError& error) {
        QTextStream(stderr) << "lumera: " << error.message() << "\n";
        return nullptr;
    }
}

}  // namespace

struct Reader::Parts {
    explicit Parts(const QStringList& driveOptions)
        : host(driveOptions, windows),
          pane(host.browser()),
          core(host,
               {searchWindows, pane.commands(), [this] { showPicture(); },
                [this] {
                    window.keepPlace();
                    EndProgramNow();
                },
                [this](const QString& request) { highlightRequest = request; },
                [this](const QString&) { buildTheMissingIndex(); }, [this] { pointToTheCd(); },
                [this](const QString& key) { session.articleBuilt(key); }}),
          window(core.controller, pane.widget()),
          activation(&window, [this] { core.controller.Form_Activate(); }),
          darkPages(new DarkPageStyle(host.browser().view()->page())),
          store(OpenReadingStore()),
          theme(*darkPages),
          session(host.browser(), store.get(), core.state),
          reading(&window, session, theme, *pane.zoom()),
          searchField(&window, host.browser().view(), [this] { core.controller.hom_Click(); }) {
        windows.setParentWindow(&window);
        // The reading features where they apply, and always a way to the CD.
        auto* findTheCd = new QAction(QStringLiteral("Indicar onde está o CD…"), &window);
        QObject::connect(findTheCd, &QAction::triggered, &window, [this] { pointToTheCd(); });
        pane.contextMenu()->setExtraActions([this, findTheCd] {
            QList<QAction*> extras = reading.contextActions();
            if (!extras.isEmpty()) extras << nullptr;
            return extras << findTheCd;
        });
        // The pages, made for the window's first size, fit at any zoom.
        QObject::connect(pane.zoom(), &PageZoom::changed, &window,
                         [this](double factor) { window.fitPages(factor); });
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

    // The search found no usable index: built now, if the user wants, and the
    // text searched again.
    void buildTheMissingIndex() {
        const QString text = core.search.window() ? core.search.window()->Text1() : QString();
        if (OfferToBuildTheIndex(kIndexMissing, QDir::currentPath())) {
            core.search.LookUpArticleTitle(text);
        }
    }

    // Without restarting: the new place is saved, mapped, and the home page
    // shown from it.
    void pointToTheCd() {
        const QString cd = core.state.CdRomPath;
        if (cd.isEmpty() || !cd[0].isLetter()) return;
        const QChar letter = cd[0].toUpper();
        const std::optional<QString> source = PointToTheCd(
            letter,
            QStringLiteral("Indique onde está o CD da enciclopédia (unidade %1:).").arg(letter));
        if (source && host.drives().map(letter, *source)) core.controller.hom_Click();
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
    DarkPageStyle* darkPages;  // the page's
    std::unique_ptr<ReadingStore> store;
    ReadingTheme theme;
    ReadingSession session;
    ReadingActions reading;
    PageSearchField searchField;
    std::unique_ptr<PictureWindow> tv;
    QString highlightRequest;
};

Reader::Reader(const QStringList& driveOptions) : parts_(std::make_unique<Parts>(driveOptions)) {}

Reader::~Reader() = default;

void Reader::start() {
    parts_->core.controller.Form_Load();
    parts_->window.restorePlace();
    parts_->window.show();
    parts_->window.fitPages(parts_->pane.zoom()->factor());
    parts_->session.reopenLast();
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
ReadingSession& Reader::session() { return parts_->session; }
ReadingActions& Reader::reading() { return parts_->reading; }
ReadingTheme& Reader::theme() { return parts_->theme; }

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
