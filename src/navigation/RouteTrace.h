#pragma once

#include <QSet>
#include <QStringList>
#include <optional>

#include "headless/HeadlessBrowser.h"
#include "navigation/ReadingHistory.h"
#include "navigation/Router.h"

namespace lumera {

// Runs the router on a sequence of events without a browser, and writes down
// everything it does, one line per action. The router's own navigations are
// not fed back: a caller passes them as later events. Every article key is
// found and no file exists unless the caller says otherwise.
class RouteTrace : private RouterActions, private FileAccess {
  public:
    explicit RouteTrace(const QString& cdRomPath);

    // The value of the page's "request" element; nothing: no such element.
    void setRequestValue(std::optional<QString> value) { browser_.request = std::move(value); }
    // A key the database does not hold.
    void addMissingArticle(const QString& key) { missingArticles_.insert(key); }
    // An address that names a file.
    void addFile(const QString& path) { files_.insert(path); }

    // "> url", then "Navigate <target>", "GoBack", "BuildArticlePage <name>",
    // "LookUpArticleTitle <text>", "ShowPicture" as they happen, and last
    // "Cancel true" or "Cancel false".
    QStringList navigate(const QString& url);
    void documentComplete() { router_.WebBrowser1_DocumentComplete(); }
    // A navigation of the whole browser went on; the history keeps it.
    void shown(const QString& address) { history_.shown(address); }
    // Back (-1) or forward (+1) in the history: "Back"/"Forward", then what
    // showing that page again did, or "Nothing" at either end.
    QStringList step(int direction);

    const Router& router() const { return router_; }

  private:
    ArticleRequest BuildArticlePage(QString& pageName) override;
    void LookUpArticleTitle(QString& text) override;
    void ShowPicture() override;
    QString existingFile(const QString& path) const override;
    bool isFile(const QString& path) const override { return files_.contains(path); }
    QString writableFile(const QString&) const override { return {}; }

    // The lines of one event: the browser's calls, with the actions' in between.
    QStringList& lines() { return browser_.calls; }

    QString cdRomPath_;
    HeadlessBrowser browser_;
    Router router_;
    ReadingHistory history_;
    QSet<QString> missingArticles_;
    QSet<QString> files_;
};

}  // namespace lumera
