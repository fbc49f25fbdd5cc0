#pragma once

#include <QList>
#include <QObject>
#include <functional>

class QWebEngineView;

namespace lumera {

class PageHistory;
class PageZoom;

// The page's context menu with only what works in the reader: copy (and in
// a field cut, paste, select all), copy link address, back, forward, find,
// print and zoom. The engine's own menu
// also offers view source, inspect, open in a new window and save link,
// which lead nowhere or around the router.
class ReaderContextMenu : public QObject {
    Q_OBJECT
  public:
    // history: back and forward as the reader steps them.
    ReaderContextMenu(QWebEngineView* view, PageZoom* zoom, PageHistory& history,
                      std::function<void()> find, std::function<void()> print);

    // An item the reader adds at the end of the menu.
    void addItem(const QString& text, std::function<void()> action);

  private:
    void show(const QPoint& at);

    QWebEngineView* view_;
    PageZoom* zoom_;
    PageHistory& history_;
    std::function<void()> find_;
    std::function<void()> print_;
    QList<std::pair<QString, std::function<void()>>> added_;
};

}  // namespace lumera
