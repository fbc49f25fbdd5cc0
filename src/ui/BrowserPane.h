#pragma once

#include <QPointer>

#include "host/PageCommands.h"

class QWidget;

namespace lumera {

class FindBar;
class PageZoom;
class ReaderContextMenu;
class ViewPageCommands;
class WebEngineBrowser;

// The browser as the main window shows it: its view with the find bar below,
// zoom, the history keys and mouse buttons, the reader's context menu and the
// keys that step through the searched words; and the menu's page commands on
// that view.
class BrowserPane {
  public:
    explicit BrowserPane(WebEngineBrowser& browser);
    ~BrowserPane();
    BrowserPane(const BrowserPane&) = delete;
    BrowserPane& operator=(const BrowserPane&) = delete;

    // To be placed in a window, which may delete it first.
    QWidget* widget() const { return container_; }
    FindBar* findBar() const { return findBar_; }
    PageZoom* zoom() const { return zoom_; }
    ReaderContextMenu* contextMenu() const { return contextMenu_; }
    PageCommands& commands() const;

  private:
    QPointer<QWidget> container_;
    FindBar* findBar_;
    ViewPageCommands* commands_;
    PageZoom* zoom_;
    ReaderContextMenu* contextMenu_ = nullptr;
};

}  // namespace lumera
