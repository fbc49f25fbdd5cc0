#pragma once

#include <QStringList>
#include <functional>

#include "app/Form1Controller.h"
#include "app/ReaderState.h"
#include "articles/ArticlePageBuilder.h"
#include "navigation/Router.h"
#include "platform/ReaderHost.h"
#include "search/SearchController.h"

namespace lumera {

class SearchWindowViewFactory;

// The reader's logic wired once on the real components: lex.ini and the
// drives, the router between the browser and the page builder, the search.
// The reader puts windows around it; lumera-cli runs it without them.
class ReaderCore : private RouterActions {
  public:
    // What differs between the reader on a screen and without one.
    struct FrontEnd {
        SearchWindowViewFactory& searchWindows;
        std::function<void()> showPicture;
        std::function<void()> endProgram;
    };

    // driveOptions: the --drive mappings; LUMERA_DRIVES is read too.
    ReaderCore(const QStringList& driveOptions, FrontEnd frontEnd);
    ~ReaderCore() override;
    ReaderCore(const ReaderCore&) = delete;
    ReaderCore& operator=(const ReaderCore&) = delete;

    ReaderHost host;
    ReaderState state;
    Form1Controller controller;
    ArticlePageBuilder pages;
    SearchController search;
    Router router;

  private:
    ArticleRequest BuildArticlePage(QString& pageName) override;
    void LookUpArticleTitle(QString& text) override { search.LookUpArticleTitle(text); }
    void ShowPicture() override { frontEnd_.showPicture(); }

    FrontEnd frontEnd_;
};

}  // namespace lumera
