#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <optional>

#include "host/Browser.h"
#include "host/PageHistory.h"

class QWebEngineLoadingInfo;
class QWebEngineProfile;
class QWebEngineView;

namespace lumera {

class ContentSchemeHandler;
class DriveMap;
class MediaOpener;
class OfflineGuard;
class SearchHighlight;
class ReaderPage;

// The main window's browser on Qt WebEngine. It raises BeforeNavigate2 for
// every navigation and DocumentComplete for every finished document or frame.
// The widgets around its view (find bar, zoom, menus) are the window's.
class WebEngineBrowser : public QObject, public Browser, public PageHistory {
    Q_OBJECT
  public:
    explicit WebEngineBrowser(const DriveMap& drives, QObject* parent = nullptr);
    ~WebEngineBrowser() override;

    // The view, to be placed in a window; the window may delete it first.
    QWebEngineView* view() const;
    SearchHighlight* searchHighlight() const { return highlight_; }

    void Navigate(const QString& target) override;
    // Back and forward step through history when one is given (the reader's
    // own: every article is the same page file, which the engine's history
    // cannot tell apart), else through the engine's.
    void GoBack() override { step(-1); }
    bool step(int direction) override;
    bool canStep(int direction) const override;
    void setHistory(PageHistory* history) { history_ = history; }
    std::optional<QString> ElementValue(const QString& name) const override;

    // Saves the page shown to a file; MHTML when the name ends in .mht or
    // .mhtml, the page as printed on A4 when it ends in .pdf, else the page's
    // HTML.
    void savePageTo(const QString& fileName);

    // The address of the last navigation of the whole page that went on, as
    // BeforeNavigate2 reported it.
    const QString& shownAddress() const { return shownAddress_; }

  Q_SIGNALS:
    // After DocumentComplete has been raised (for tests and the window).
    void documentCompleted();
    // A navigation of the whole browser went on, to the address that
    // BeforeNavigate2 reported: the page it shows. Said when it starts, so a
    // page left before it has loaded is a page all the same.
    void pageShown(const QString& address);
    void pageSaved(const QString& fileName, bool ok);

  private:
    friend class ReaderPage;
    bool announce(const QUrl& url, bool mainFrame);
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    void onConsoleMessage(const QString& message);
    void raiseDocumentComplete();
    void installPageScripts();

    struct PendingTarget {
        QUrl url;
        QString text;
    };
    const DriveMap& drives_;
    QWebEngineProfile* profile_;
    ContentSchemeHandler* schemes_;
    OfflineGuard* guard_;
    ReaderPage* page_;
    // The window the view is placed in may delete it first.
    QPointer<QWebEngineView> view_;
    MediaOpener* media_;
    SearchHighlight* highlight_;
    PageHistory* history_ = nullptr;

    QList<PendingTarget> pending_;
    QString shownAddress_;
    int handlerDepth_ = 0;
    bool navigatedInHandler_ = false;
    // Live copy of the "request" field of the document shown, reported by a
    // page script; the browser process cannot ask the page synchronously
    // while a navigation is being decided.
    int requestCount_ = 0;
    QString requestValue_;
    std::optional<QString> submittedRequest_;
};

}  // namespace lumera
