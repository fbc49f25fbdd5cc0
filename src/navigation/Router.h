#pragma once

#include <QString>
#include <QStringList>

#include "host/Browser.h"
#include "navigation/GuardFlags.h"
#include "navigation/RouteTable.h"

namespace lumera {

// What the router hands over to the rest of the reader.
class RouterActions {
  public:
    virtual ~RouterActions() = default;
    virtual void BuildArticlePage(QString& pageName) = 0;
    virtual void LookUpArticleTitle(QString& text) = 0;
    virtual void ShowPicture() = 0;
};

// Decides, for every navigation of the main browser, whether it goes on, is
// redirected or restarted, goes back, searches, opens the picture window, or
// becomes an article request.
class Router : public BrowserEvents {
  public:
    // cdRomPath is read at every redirect (it is set once at start-up).
    Router(Browser& browser, RouterActions& actions, const QString& cdRomPath);

    void WebBrowser1_BeforeNavigate2(const QString& url, bool& cancel);
    void WebBrowser1_DocumentComplete();

    void BeforeNavigate2(const QString& url, bool& cancel) override {
        WebBrowser1_BeforeNavigate2(url, cancel);
    }
    void DocumentComplete() override { WebBrowser1_DocumentComplete(); }

    const GuardFlags& guards() const { return guards_; }
    const QString& PageName() const { return pageName_; }
    // Targets the router navigated to that have not come back yet.
    const QStringList& ownTargets() const { return ownTargets_; }
    // The number of the rule that decided the last event.
    int lastRule() const { return lastRule_; }

    // More own targets than this are never outstanding at once in real use;
    // the oldest are forgotten so the memory stays bounded.
    static constexpr qsizetype kMaxOwnTargets = 32;

  private:
    bool applies(const RouteRule& rule, const QString& url, const QString& lowerUrl,
                 bool ownNavigation) const;
    void perform(const RouteRule& rule, const QString& url, bool ownNavigation, bool& cancel);
    void navigateOwn(const QString& target);

    Browser& browser_;
    RouterActions& actions_;
    const QString& cdRomPath_;
    GuardFlags guards_;
    QString pageName_;
    QStringList ownTargets_;
    int lastRule_ = 0;
};

}  // namespace lumera
