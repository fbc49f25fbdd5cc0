#pragma once

#include <QStringList>
#include <functional>

#include "app/Form1Controller.h"
#include "articles/ArticlePageBuilder.h"
#include "host/ReaderState.h"
#include "navigation/ReadingHistory.h"
#include "navigation/Router.h"
#include "reader/ReaderHost.h"
#include "search/SearchController.h"

namespace lumera {

class SearchWindowViewFactory;

// Start-up's services on the real components, the one wiring that the reader
// and its tools share: once lex.ini is read, the drive map learns the
// installation folder and looks for the CD; a CD not found is told on stderr
// after program's name.
Form1Controller::Services StartupServices(Browser& browser, PageCommands& page,
                                          WindowSystem& windows, SearchEngineFactory& engines,
                                          DriveMap& drives, const QString& program,
                                          std::function<void()> endProgram = {});

// The reader's logic wired once on the real components: lex.ini and the
// drives, the router between the browser and the page builder, the search.
// The reader puts windows around it; lumera-cli runs it without them. The
// drive mappings' problems are told on stderr.
class ReaderCore : private RouterActions {
  public:
    // What differs between the reader on a screen and without one.
    struct FrontEnd {
        SearchWindowViewFactory& searchWindows;
        // What the main window's menu does to the page shown.
        PageCommands& pageCommands;
        std::function<void()> showPicture;
        std::function<void()> endProgram;
        // An article is being opened from the search window's list, found
        // with request; optional.
        std::function<void(const QString& request)> articleFromSearch = {};
        // A search found the index missing or damaged; optional (without it
        // the search says so in a message).
        std::function<void(const QString& reason)> searchIndexUnusable = {};
        // The user asks to point to the CD (a link of the missing-file page,
        // a menu); optional.
        std::function<void()> pointToTheCd = {};
        // An article page is being built from key; optional.
        std::function<void(const QString& key)> articleBuilt = {};
    };

    ReaderCore(ReaderHost& host, FrontEnd frontEnd);
    ~ReaderCore() override;
    ReaderCore(const ReaderCore&) = delete;
    ReaderCore& operator=(const ReaderCore&) = delete;

    ReaderHost& host;
    ReaderState state;
    Form1Controller controller;
    ArticlePageBuilder pages;
    SearchController search;
    Router router;
    // Back and forward through the pages shown, articles by their keys.
    ReadingHistory history;

  private:
    ArticleRequest BuildArticlePage(QString& pageName) override;
    // The one way an article is built: the history learns its key.
    ArticlePageResult buildArticle(QString& key);
    void LookUpArticleTitle(QString& text) override { search.LookUpArticleTitle(text); }
    void ShowPicture() override { frontEnd_.showPicture(); }

    FrontEnd frontEnd_;
    // The title of the article shown last: what its website row searches.
    QString shownTitle_;
};

}  // namespace lumera
