#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace lumera {

class PageZoom;
class ReadingListsWindow;
class ReadingSession;
class ReadingTheme;

// The reading commands, each with its key wherever the focus is in window:
// add the article to the favourites (Ctrl+D), copy its citation
// (Ctrl+Shift+C), the favourites (Ctrl+B) and the history (Ctrl+H), dark
// reading (Ctrl+Shift+E) and the preferences (Ctrl+,). The page's context
// menu offers them on an article page.
class ReadingActions : public QObject {
    Q_OBJECT
  public:
    ReadingActions(QWidget* window, ReadingSession& session, ReadingTheme& theme, PageZoom& zoom);

    // What the context menu adds: the commands on an article page, none on
    // any other.
    QList<QAction*> contextActions() const;

    // Adds the article shown with note; false when no article is shown.
    bool addFavourite(const QString& note);
    // The citation of the article shown, put on the clipboard.
    void copyCitation();
    ReadingListsWindow* listsWindow();

  private:
    QAction* action(const QString& text, const QKeySequence& key, void (ReadingActions::*slot)());
    void askFavourite();
    void showFavourites();
    void showHistory();
    void showSettings();

    QWidget* window_;
    ReadingSession& session_;
    ReadingTheme& theme_;
    PageZoom& zoom_;
    QPointer<ReadingListsWindow> lists_;
    QList<QAction*> articleActions_;
    QList<QAction*> readerActions_;
};

}  // namespace lumera
