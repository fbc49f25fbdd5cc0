#pragma once

#include <QStringList>
#include <optional>

#include "host/Browser.h"
#include "navigation/Router.h"

namespace lumera {

// Runs the router on a sequence of events without a browser, and writes down
// everything it does, one line per action. The router's own navigations are
// not fed back: a caller passes them as later events.
class RouteTrace : private Browser, private RouterActions {
  public:
    explicit RouteTrace(const QString& cdRomPath);

    // The value of the page's "request" element; nothing: no such element.
    void setRequestValue(std::optional<QString> value) { request_ = std::move(value); }

    // "> url", then "Navigate <target>", "GoBack", "BuildArticlePage <name>",
    // "LookUpArticleTitle <text>", "ShowPicture" as they happen, and last
    // "Cancel true" or "Cancel false".
    QStringList navigate(const QString& url);
    void documentComplete() { router_.WebBrowser1_DocumentComplete(); }

    const Router& router() const { return router_; }

  private:
    void Navigate(const QString& target) override;
    void GoBack() override;
    std::optional<QString> ElementValue(const QString& name) const override;
    void SaveAs() override {}
    void Copy() override {}
    void Print() override {}
    void Find() override {}
    void BuildArticlePage(QString& pageName) override;
    void LookUpArticleTitle(QString& text) override;
    void ShowPicture() override;

    QString cdRomPath_;
    Router router_;
    std::optional<QString> request_;
    QStringList lines_;
};

}  // namespace lumera
