#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "host/RunGate.h"
#include "search/SearchDriver.h"
#include "search/SearchWindowSlot.h"
#include "search/SearchWindowView.h"
#include "search/TitleLookup.h"

namespace lumera {

struct ReaderState;
class WindowSystem;

// The reader's search: the title lookup that the router and the search window
// call, and the search window's event handlers. Nothing here overlaps: a
// lookup, folder filter, article opening or closing asked for while another
// runs (from an event processed inside it) waits until it is over, and of
// several waiting only the newest runs. So the window is never unloaded under
// a running lookup. Choosing the article being opened wants nothing newer:
// whatever waited is dropped, so input at any rate settles on the last choice.
class SearchController : public SearchWindowEvents {
  public:
    struct Services {
        WindowSystem& windows;
        SearchWindowViewFactory& views;
        // Builds the page of the article with this key and shows it.
        std::function<void(QString&)> BuildArticlePage;
        // The main window's home command.
        std::function<void()> GoHome;
        // The engine could not search: its index is missing or damaged. When
        // given, told with the engine's reason in place of the message.
        std::function<void(const QString& reason)> IndexUnusable = {};
    };

    // state is read at every lookup: its engine is replaced at each activation.
    SearchController(const ReaderState& state, Services services);
    ~SearchController() override;
    SearchController(const SearchController&) = delete;
    SearchController& operator=(const SearchController&) = delete;

    void LookUpArticleTitle(const QString& text);

    // The loaded search window, or null.
    SearchWindowModel* window() const { return window_.window(); }
    const SearchDriver& driver() const { return driver_; }

    // The folder filter, as if folder were the chosen text of Combo1.
    void FilterByFolder(const QString& folder);

    void Text1_KeyDown(int keyCode) override;
    void Image1_Click() override;
    void Label4_Click() override;
    void Combo1_Click(int row) override;
    void FoundList_Click(int row) override;
    void FoundList_DblClick() override;
    void FoundList_KeyDown(int keyCode) override;
    void Label2_Click() override;
    void Label3_Click() override;
    void fec_Click() override;

  private:
    void lookUpText1();
    void goHome();
    void filter(const QString& folder, const QString& text1);
    void openChosen();
    void openArticle(QString key);

    Services services_;
    SearchDriver driver_;
    SearchWindowSlot window_;
    TitleLookup lookup_;
    RunGate gate_;
    // The key of the article being opened from the list, while it is.
    std::optional<QString> opening_;
};

}  // namespace lumera
