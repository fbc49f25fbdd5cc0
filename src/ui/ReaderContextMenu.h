#pragma once

#include <QList>
#include <QObject>
#include <functional>

class QAction;
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

    // Actions put after the reader's own, asked for at every opening; a null
    // one stands for a separator.
    void setExtraActions(std::function<QList<QAction*>()> extras) { extras_ = std::move(extras); }

  private:
    void show(const QPoint& at);

    QWebEngineView* view_;
    PageZoom* zoom_;
    PageHistory& history_;
    std::function<void()> find_;
    std::function<void()> print_;
    std::function<QList<QAction*>()> extras_;
};

}  // namespace lumera
