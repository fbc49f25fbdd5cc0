#include "browser/WebEngineBrowser.h"

#include <QLoggingCategory>
#include <QPageLayout>
#include <QPageSize>
#include <QSaveFile>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "browser/ContentSchemeHandler.h"
#include "browser/DriveUrls.h"
#include "browser/MediaOpener.h"
#include "browser/SearchHighlight.h"
#include "host/Windows1252.h"

namespace lumera {
namespace {

Q_LOGGING_CATEGORY(lcBrowser, "lumera.browser", QtWarningMsg)

// Console messages from our page scripts start with this marker, which a
// content page is unlikely to print by chance.
constexpr QStringView kMarker = u"\u0001lumera:";

// Reports every finished frame below the top document.
const char* const kFrameScript = R"JS(
(function () {
  if (window.top === window) return;
  window.addEventListener('load', function () { console.log('\u0001lumera:frame-complete'); });
})();
)JS";

// Keeps the browser told of the top document's "request" field: how many
// elements carry that name or id, and the value of the only one.
const char* const kRequestScript = R"JS(
(function () {
  function report() {
    var list = document.querySelectorAll('[name="request"], [id="request"]');
    var value = (list.length === 1 && list[0].value !== undefined) ? String(list[0].value) : '';
    console.log('\u0001lumera:request:' + list.length + ':' + value);
  }
  ['input', 'change', 'submit', 'click', 'keyup'].forEach(function (type) {
    document.addEventListener(type, report, true);
  });
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', report);
  else report();
  window.addEventListener('load', report);
})();
)JS";

// Chromium's net::ERR_ABORTED: a navigation that was cancelled.
constexpr int kAbortedError = -3;

}  // namespace

class ReaderPage : public QWebEnginePage {
  public:
    ReaderPage(QWebEngineProfile* profile, WebEngineBrowser* browser)
        : QWebEnginePage(profile, browser), browser_(browser) {}

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool mainFrame) override {
        return browser_->announce(url, mainFrame);
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                  const QString&) override {
        if (message.startsWith(kMarker)) browser_->onConsoleMessage(message.mid(kMarker.size()));
    }

  private:
    WebEngineBrowser* browser_;
};

WebEngineBrowser::WebEngineBrowser(const DriveMap& drives, QObject* parent)
    : QObject(parent),
      drives_(drives),
      profile_(new QWebEngineProfile(this)),  // off the record: nothing kept on disk
      schemes_(new ContentSchemeHandler(drives, this)),
      guard_(new OfflineGuard(drives, this)),
      page_(new ReaderPage(profile_, this)),
      view_(new QWebEngineView),
      media_(new MediaOpener(drives, this)),
      highlight_(new SearchHighlight(page_)) {
    for (char letter = 'c'; letter <= 'z'; ++letter) {
        profile_->installUrlSchemeHandler(QByteArray(1, letter), schemes_);
    }
    profile_->setUrlRequestInterceptor(guard_);
    profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    auto* settings = profile_->settings();
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setDefaultTextEncoding(QStringLiteral("windows-1252"));
    installPageScripts();

    view_->setPage(page_);

    connect(page_, &QWebEnginePage::loadingChanged, this, &WebEngineBrowser::onLoadingChanged);
    // The reader has one browser: a link for a new window (target="_blank",
    // window.open) opens in it, announced like any other link. Loaded once
    // the request has returned, as the engine is still deciding it.
    connect(page_, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) {
                QTimer::singleShot(0, this, [this, url = request.requestedUrl()] {
                    if (url.isValid() && !url.isEmpty()) page_->load(url);
                });
            });
    connect(page_, &QWebEnginePage::urlChanged, this, [this] {
        requestCount_ = 0;
        requestValue_.clear();
    });
    connect(profile_, &QWebEngineProfile::downloadRequested, this,
            [this](QWebEngineDownloadRequest* download) {
                // Only the page saves we ask for; content cannot start downloads.
                // A file the browser cannot show goes to the desktop instead.
                if (download->isSavePageDownload()) {
                    download->accept();
                } else {
                    download->cancel();
                    media_->open(download->url());
                }
            });
    connect(page_, &QWebEnginePage::pdfPrintingFinished, this,
            [this](const QString& file, bool ok) { Q_EMIT pageSaved(file, ok); });
}

WebEngineBrowser::~WebEngineBrowser() {
    // The page must go before its profile.
    if (view_) view_->setPage(nullptr);
    delete page_;
    delete view_.data();
}

QWebEngineView* WebEngineBrowser::view() const { return view_; }

void WebEngineBrowser::installPageScripts() {
    // Both run in their own world, out of the pages' reach, from the start of
    // each document.
    const auto insert = [this](const char* name, const char* source, bool subFrames) {
        QWebEngineScript script;
        script.setName(QString::fromLatin1(name));
        script.setSourceCode(QString::fromLatin1(source));
        script.setInjectionPoint(QWebEngineScript::DocumentCreation);
        script.setWorldId(QWebEngineScript::ApplicationWorld);
        script.setRunsOnSubFrames(subFrames);
        page_->scripts().insert(script);
    };
    insert("lumera-frames", kFrameScript, true);
    insert("lumera-request", kRequestScript, false);
}

void WebEngineBrowser::Navigate(const QString& target) {
    if (handlerDepth_ > 0) {
        // The navigation being announced is replaced by this one; it starts
        // once the handler has returned, and comes back to it as its own event.
        navigatedInHandler_ = true;
        QTimer::singleShot(0, this, [this, target] { Navigate(target); });
        return;
    }
    const QUrl url = driveurls::toUrl(target);
    pending_.append({url, target});
    if (pending_.size() > 8) pending_.removeFirst();
    page_->load(url);
}

bool WebEngineBrowser::canStep(int direction) const {
    if (history_) return history_->canStep(direction);
    return direction < 0 ? page_->history()->canGoBack() : page_->history()->canGoForward();
}

bool WebEngineBrowser::step(int direction) {
    if (!canStep(direction)) return false;
    if (handlerDepth_ > 0) {
        // As Navigate: the step replaces the navigation being announced.
        navigatedInHandler_ = true;
        QTimer::singleShot(0, this, [this, direction] { step(direction); });
        return true;
    }
    if (history_) return history_->step(direction);
    page_->triggerAction(direction < 0 ? QWebEnginePage::Back : QWebEnginePage::Forward);
    return true;
}

std::optional<QString> WebEngineBrowser::ElementValue(const QString& name) const {
    if (name != u"request") return std::nullopt;
    if (submittedRequest_) return submittedRequest_;
    if (requestCount_ != 1) return std::nullopt;
    return requestValue_;
}

bool WebEngineBrowser::announce(const QUrl& url, bool mainFrame) {
    QString text;
    for (qsizetype i = 0; i < pending_.size(); ++i) {
        if (pending_[i].url.matches(url, QUrl::None) ||
            pending_[i].url.adjusted(QUrl::NormalizePathSegments) == url) {
            text = pending_[i].text;
            pending_.remove(i);
            break;
        }
    }
    if (text.isNull()) text = driveurls::toNavigationText(url);

    // A GET form carries the field as it was when submitted.
    QString submitted;
    if (driveurls::formFieldValue(url, QStringLiteral("request"), &submitted)) {
        submittedRequest_ = submitted;
    }

    qCDebug(lcBrowser) << "BeforeNavigate2" << text;
    bool cancel = false;
    ++handlerDepth_;
    navigatedInHandler_ = false;
    if (auto* sink = eventSink()) sink->BeforeNavigate2(text, cancel);
    const bool replaced = navigatedInHandler_;
    navigatedInHandler_ = false;
    --handlerDepth_;
    submittedRequest_.reset();
    const bool goesOn = !cancel && !replaced;
    if (goesOn && mainFrame) {
        shownAddress_ = text;
        Q_EMIT pageShown(text);
    }
    return goesOn;
}

void WebEngineBrowser::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    qCDebug(lcBrowser) << "loading" << info.status() << info.url() << info.errorCode();
    switch (info.status()) {
        case QWebEngineLoadingInfo::LoadSucceededStatus:
            raiseDocumentComplete();
            break;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            // An error page (a missing file) completes too; a cancelled one does not.
            if (info.errorCode() != kAbortedError) raiseDocumentComplete();
            break;
        default:
            break;
    }
}

void WebEngineBrowser::onConsoleMessage(const QString& message) {
    if (message == u"frame-complete") {
        raiseDocumentComplete();
        return;
    }
    if (message.startsWith(u"request:")) {
        const QString rest = message.mid(8);
        const qsizetype colon = rest.indexOf(u':');
        requestCount_ = rest.left(colon).toInt();
        requestValue_ = rest.mid(colon + 1);
    }
}

void WebEngineBrowser::raiseDocumentComplete() {
    qCDebug(lcBrowser) << "DocumentComplete";
    if (auto* sink = eventSink()) sink->DocumentComplete();
    Q_EMIT documentCompleted();
}

void WebEngineBrowser::savePageTo(const QString& fileName) {
    if (fileName.endsWith(u".mht", Qt::CaseInsensitive) ||
        fileName.endsWith(u".mhtml", Qt::CaseInsensitive)) {
        auto connection = std::make_shared<QMetaObject::Connection>();
        *connection =
            connect(profile_, &QWebEngineProfile::downloadRequested, this,
                    [this, fileName, connection](QWebEngineDownloadRequest* download) {
                        disconnect(*connection);
                        connect(download, &QWebEngineDownloadRequest::isFinishedChanged, this,
                                [this, download, fileName] {
                                    Q_EMIT pageSaved(
                                        fileName, download->state() ==
                                                      QWebEngineDownloadRequest::DownloadCompleted);
                                });
                    });
        page_->save(fileName, QWebEngineDownloadRequest::MimeHtmlSaveFormat);
        return;
    }
    if (fileName.endsWith(u".pdf", Qt::CaseInsensitive)) {
        page_->printToPdf(fileName,
                          QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        return;
    }
    page_->toHtml([this, fileName](const QString& html) {
        // The content's pages are Windows-1252; keep the saved copy in it.
        QSaveFile file(fileName);
        bool ok = file.open(QIODevice::WriteOnly);
        ok = ok && file.write(windows1252::encodeWithReferences(html)) >= 0;
        ok = ok && file.commit();
        Q_EMIT pageSaved(fileName, ok);
    });
}

}  // namespace lumera
