#pragma once

#include <QDialog>

class QTabWidget;
class QTreeWidget;

namespace lumera {

class ReadingSession;
struct ReadingEntry;

// "Favoritos" and "Histórico" in one window, a tab each. A favourite shows
// its title, note and date; Enter or a double-click opens the article, as a
// link to it does; the note can be edited, a favourite removed, and the list
// exported to and imported from a plain text file. The history lists the
// articles last opened, newest first.
class ReadingListsWindow : public QDialog {
    Q_OBJECT
  public:
    enum Tab { Favourites, History };

    ReadingListsWindow(ReadingSession& session, QWidget* parent = nullptr);

    // Shows the window on tab, its lists read again.
    void showTab(Tab tab);
    QTreeWidget* list(Tab tab) const;

  private:
    QWidget* favouritesTab();
    QWidget* historyTab();
    void reload();
    void openCurrent(Tab tab);
    void editNote();
    void removeFavourite();
    void exportFavourites();
    void importFavourites();
    // Runs a change of the store; a failure is told in a message box.
    template <typename Change>
    void change(Change change);

    ReadingSession& session_;
    QTabWidget* tabs_;
    QTreeWidget* favourites_;
    QTreeWidget* history_;
};

}  // namespace lumera
