#include "search/TitleLookup.h"

#include <vector>

#include "host/ReaderState.h"
#include "host/WindowSystem.h"
#include "search/SearchDriver.h"
#include "search/SearchWindowSlot.h"
#include "search/SkipFailure.h"

namespace lumera {

QString CountCaption(int count) {
    return u' ' + QString::number(count) + QStringLiteral(" verbetes encontrados");
}

QString OtherSpellingsNote(const QStringList& spellings) {
    if (spellings.isEmpty()) return {};
    return QStringLiteral("também procurado: ") + spellings.join(QStringLiteral(", "));
}

QString RequestWithSpellings(const QString& request, const QStringList& spellings) {
    QString text = request;
    for (const QString& spelling : spellings) {
        text += spelling.contains(u'-') ? QStringLiteral(" \"%1\"").arg(spelling) : u' ' + spelling;
    }
    return text;
}

TitleLookup::TitleLookup(const ReaderState& state, SearchDriver& driver, SearchWindowSlot& window,
                         WindowSystem& windows,
                         std::function<void(const QString& reason)> indexUnusable)
    : state_(state),
      indexUnusable_(std::move(indexUnusable)),
      driver_(driver),
      window_(window),
      windows_(windows) {}

void TitleLookup::LookUpArticleTitle(const QString& text) {
    windows_.SetBusyPointer(true);
    SearchWindowModel& window = window_.Show();
    window.setFoundListVisible(false);
    window.ClearResultLists();
    window.Combo1().Clear();
    const bool searched = runSearch(text, window);
    SkipFailure("listing the results", [&] { driver_.ListResults(window.resultLists(), {}); });
    windows_.ProcessPendingEvents();
    fillCombo1(window);
    window.setFoundListVisible(true);
    window.setText1(text);
    windows_.SetBusyPointer(false);
    showCount(window, searched);
}

bool TitleLookup::runSearch(const QString& text, SearchWindowModel& window) {
    // Held for the run: an activation of the main window meanwhile replaces
    // the engine in the state.
    const std::shared_ptr<SearchEngine> engine = state_.engine;
    if (!engine) {
        // No stale results of an earlier run may be listed for this text.
        driver_.ForgetJob();
        return false;
    }
    SkipFailure("running the search",
                [&] { driver_.RunSearchJob(*engine, text, state_.InstallPath, window); });
    return true;
}

void TitleLookup::fillCombo1(SearchWindowModel& window) {
    // List2 is sorted, so comparing with the entry before lists each folder once.
    std::vector<ListEntry> entries{{kAllFolders, 0}};
    const ListControl& folders = window.List2();
    for (int row = 0; row < folders.ListCount(); ++row) {
        const QString& folder = folders.entry(row).text;
        if (row == 0 || folder != folders.entry(row - 1).text) entries.push_back({folder, 0});
    }
    window.Combo1().AddItems(std::move(entries));
}

void TitleLookup::showCount(SearchWindowModel& window, bool searched) {
    window.setOtherSpellingsNote(QString());
    if (!searched) {
        windows_.MessageBox(kSearchUnavailableMessage, kLookupMessageTitle, kMessageExclamation);
        window.setLabel2(QString());
        return;
    }
    int count = 0;
    SkipFailure("counting the results", [&] { count = driver_.ResultCount(); });
    if (count == 0) {
        // A broken index is not an article that does not exist.
        const QString failure = driver_.SearchFailure();
        if (failure.isEmpty()) {
            windows_.MessageBox(kNotFoundMessage, kLookupMessageTitle, kMessageInformation);
        } else if (!indexUnusable_) {
            windows_.MessageBox(failure, kLookupMessageTitle, kMessageExclamation);
        }
        window.setLabel2(QString());
        if (!failure.isEmpty() && indexUnusable_) indexUnusable_(failure);
    } else {
        window.setOtherSpellingsNote(OtherSpellingsNote(driver_.OtherSpellings()));
        window.setLabel2(CountCaption(count));
    }
}

}  // namespace lumera
