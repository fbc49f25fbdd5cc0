#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "Commands.h"
#include "headless/HeadlessBrowser.h"
#include "headless/HeadlessWindowSystem.h"
#include "reader/ReaderCore.h"
#include "search/SearchWindowView.h"

namespace lumera::cli {
namespace {

// Chromium's net::ERR_ABORTED: a load that was cancelled, which shows nothing.
constexpr int kAbortedError = -3;
// The reader has settled once the page has been idle this long: the router's
// own navigations start on the next turn of the event loop, and a page build
// takes a few milliseconds.
constexpr int kQuietMs = 400;
constexpr int kGiveUpMs = 30000;

// Watches the whole page: what loaded since the last reset, and when it last
// did anything.
class PageWatch : public QObject {
  public:
    explicit PageWatch(QWebEnginePage* page) : page_(page) {
        connect(page, &QWebEnginePage::loadingChanged, this,
                [this](const QWebEngineLoadingInfo& info) {
                    idle_.restart();
                    if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus) {
                        loaded_ = true;
                        failed_ = false;
                    } else if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus &&
                               info.errorCode() != kAbortedError) {
                        loaded_ = true;
                        failed_ = true;
                    }
                });
        connect(page, &QWebEnginePage::urlChanged, this, [this] { idle_.restart(); });
        idle_.start();
    }

    void reset() {
        loaded_ = false;
        failed_ = false;
        idle_.restart();
    }
    bool loaded() const { return loaded_; }
    bool failed() const { return failed_; }

    // Runs the event loop until the page has been idle for a while.
    void settle() {
        QEventLoop loop;
        QTimer poll;
        QElapsedTimer total;
        total.start();
        connect(&poll, &QTimer::timeout, &loop, [&] {
            const bool idle = !page_->isLoading() && idle_.elapsed() >= kQuietMs;
            if (idle || total.elapsed() >= kGiveUpMs) loop.quit();
        });
        poll.start(20);
        loop.exec();
    }

    // The text of the document's title element, as a window title shows it.
    QString title() {
        QString title;
        bool answered = false;
        QEventLoop loop;
        page_->runJavaScript(QStringLiteral("document.title"), [&](const QVariant& value) {
            title = value.toString();
            answered = true;
            loop.quit();
        });
        QTimer::singleShot(kGiveUpMs, &loop, &QEventLoop::quit);
        if (!answered) loop.exec();
        return title.trimmed();
    }

  private:
    QWebEnginePage* page_;
    QElapsedTimer idle_;
    bool loaded_ = false;
    bool failed_ = false;
};

// One message a line, however many lines its text has.
QString messageLine(const QString& title, const QString& text) {
    return QStringLiteral("Message ") + title + u'|' + text.simplified();
}

}  // namespace

// open ADDRESS...: the reader without windows. Start-up loads the home page;
// then each address is navigated to as a link would be and followed through
// everything the reader does until the page is idle.
int RunOpen(const CommandContext& context) {
    if (context.arguments.isEmpty()) {
        context.err << "lumera-cli: uso: open ENDEREÇO...\n";
        return 2;
    }
    HeadlessSearchWindowFactory searchWindows;
    // Without a screen nobody could close a box: messages are printed, and
    // the browser's own events run in every round the logic asks for.
    QStringList messages;
    HeadlessWindowSystem windows;
    windows.onMessage = [&messages](const ShownMessage& shown) {
        messages << messageLine(shown.title, shown.text);
    };
    windows.onProcessEvents = [] { QCoreApplication::processEvents(); };
    ReaderHost host(context.driveMappings, windows);
    // Without a window there is no menu: its page commands are only written down.
    HeadlessBrowser noMenu;
    ReaderCore reader(host, {searchWindows, noMenu, [] {}, [] {}});
    WebEngineBrowser& browser = reader.host.browser();
    PageWatch watch(browser.view()->page());

    reader.controller.Form_Load();
    if (reader.host.drives().existingFile(reader.state.InstallPath).isEmpty()) {
        for (const QString& message : messages) context.err << "lumera-cli: " << message << "\n";
        context.err << "lumera-cli: a pasta de instalação "
                    << reader.host.drives().absolutePath(reader.state.InstallPath)
                    << " não foi encontrada\n";
        return 1;
    }
    reader.controller.Form_Activate();
    watch.settle();

    for (const QString& address : context.arguments) {
        messages.clear();
        watch.reset();
        browser.Navigate(address);
        watch.settle();
        for (const QString& message : messages) context.out << message << "\n";
        if (!watch.loaded()) {
            context.out << "Nothing\n";
        } else if (watch.failed()) {
            context.out << "Missing " << browser.shownAddress() << "\n";
        } else {
            context.out << "Shown " << browser.shownAddress() << "\n";
            context.out << "Title " << watch.title() << "\n";
        }
        context.out.flush();
    }
    return 0;
}

}  // namespace lumera::cli
