#include "search/SearchController.h"

#include "search/SkipFailure.h"

namespace lumera {

SearchController::SearchController(const ReaderState& state, Services services)
    : services_(std::move(services)),
      window_(services_.windows, services_.views, *this),
      lookup_(state, driver_, window_, services_.windows, services_.IndexUnusable) {}

SearchController::~SearchController() = default;

void SearchController::LookUpArticleTitle(const QString& text) {
    gate_.run([this, text] { lookup_.LookUpArticleTitle(text); });
}

void SearchController::lookUpText1() {
    if (const SearchWindowModel* loaded = window()) LookUpArticleTitle(loaded->Text1());
}

void SearchController::Text1_KeyDown(int keyCode) {
    if (keyCode == kEnterKeyCode) lookUpText1();
}

void SearchController::Image1_Click() { lookUpText1(); }
void SearchController::Label4_Click() { lookUpText1(); }

void SearchController::Combo1_Click(int row) {
    SearchWindowModel* loaded = window();
    if (!loaded || row < 0 || row >= loaded->Combo1().ListCount()) return;
    loaded->setCombo1Index(row);
    FilterByFolder(loaded->Combo1().entry(row).text);
}

void SearchController::FilterByFolder(const QString& folder) {
    const SearchWindowModel* loaded = window();
    if (!loaded) return;
    gate_.run([this, folder, text1 = loaded->Text1()] { filter(folder, text1); });
}

void SearchController::filter(const QString& folder, const QString& text1) {
    SearchWindowModel* loaded = window();
    if (!loaded) return;
    loaded->ClearResultLists();
    if (folder == kAllFolders) {
        lookup_.LookUpArticleTitle(text1);
        return;
    }
    SkipFailure("listing the results of a folder",
                [&] { driver_.ListResults(loaded->resultLists(), folder); });
}

void SearchController::FoundList_Click(int row) {
    SearchWindowModel* loaded = window();
    if (!loaded || row == loaded->FoundListIndex()) return;
    loaded->setFoundListIndex(row);
    openChosen();
}

// The chosen entry opens again on purpose: its page may have been left.
void SearchController::FoundList_DblClick() { openChosen(); }

void SearchController::FoundList_KeyDown(int keyCode) {
    if (keyCode == kEnterKeyCode) openChosen();
}

void SearchController::openChosen() {
    const SearchWindowModel* loaded = window();
    if (!loaded) return;
    const int row = loaded->FoundListIndex();
    if (row < 0 || row >= loaded->FoundList().ListCount()) return;
    // The tag links the sorted title to its file name in List1. Taken now:
    // the lists may be refilled before a waiting request runs.
    const int position = loaded->FoundList().entry(row).ItemData;
    if (position < 0 || position >= loaded->List1().ListCount()) return;
    const QString& key = loaded->List1().entry(position).text;
    if (opening_ == key) {
        gate_.cancelWaiting();
        return;
    }
    gate_.run([this, key] { openArticle(key); });
}

void SearchController::openArticle(QString key) {
    opening_ = key;
    if (services_.BuildArticlePage) services_.BuildArticlePage(key);
    opening_.reset();
}

void SearchController::Label2_Click() { goHome(); }
void SearchController::Label3_Click() { goHome(); }

void SearchController::goHome() {
    if (services_.GoHome) services_.GoHome();
    fec_Click();
}

void SearchController::fec_Click() {
    gate_.run([this] { window_.Unload(); });
}

}  // namespace lumera
