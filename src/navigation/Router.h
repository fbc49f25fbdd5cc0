#pragma once

#include <QList>
#include <QString>

#include "host/Browser.h"
#include "host/FileAccess.h"
#include "navigation/GuardFlags.h"
#include "navigation/RouteTable.h"

namespace lumera {

// Whether an article request found its key in the database. Everything but
// a missing key (a page built, a failure already told to the user, a request
// queued behind a running one) counts as handled.
enum class ArticleRequest { Handled, NoArticle };

// What the router hands over to the rest of the reader.
class RouterActions {
  public:
    virtual ~RouterActions() = default;
    virtual ArticleRequest BuildArticlePage(QString& pageName) = 0;
    virtual void LookUpArticleTitle(QString& text) = 0;
    virtual void ShowPicture() = 0;
};

// Decides, for every navigation of the main browser, whether it goes on, is
// redirected or restarted, goes back, searches, opens the picture window, or
// becomes an article request.
class Router : public BrowserEvents {
  public:
    // cdRomPath is read at every redirect (it is set once at start-up); files
    // tells whether an address that names no article names a file instead.
    Router(Browser& browser, RouterActions& actions, const FileAccess& files,
           const QString& cdRomPath);

    void WebBrowser1_BeforeNavigate2(const QString& url, bool& cancel);
    void WebBrowser1_DocumentComplete();

    void BeforeNavigate2(const QString& url, bool& cancel) override {
        WebBrowser1_BeforeNavigate2(url, cancel);
    }
    void DocumentComplete() override { WebBrowser1_DocumentComplete(); }

    const GuardFlags& guards() const { return guards_; }
    const QString& PageName() const { return pageName_; }
    // Targets the router navigated to that have not come back yet.
    qsizetype ownTargetCount() const { return ownTargets_.size(); }

    // More own targets than this are never outstanding at once in real use;
    // the oldest are forgotten so the memory stays bounded.
    static constexpr qsizetype kMaxOwnTargets = 32;

  private:
    // Why a navigation is the router's own, when it comes back.
    enum class Own {
        No,
        Routed,     // a redirect or restart
        ShowsFile,  // an address that names a file but no article
    };
    struct OwnTarget {
        QString url;
        Own kind;
    };

    Own takeOwnTarget(const QString& url);
    bool applies(const RouteRule& rule, const QString& url, const QString& lowerUrl, Own own) const;
    void perform(const RouteRule& rule, const QString& url, Own own, bool& cancel);
    void generate(const QString& url);
    bool namesFile(const QString& url) const;
    void navigateOwn(const QString& target, Own kind);

    Browser& browser_;
    RouterActions& actions_;
    const FileAccess& files_;
    const QString& cdRomPath_;
    GuardFlags guards_;
    QString pageName_;
    QList<OwnTarget> ownTargets_;
};

}  // namespace lumera
