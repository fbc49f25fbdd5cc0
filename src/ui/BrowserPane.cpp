#include "ui/BrowserPane.h"

#include <QVBoxLayout>
#include <QWebEngineView>

#include "browser/WebEngineBrowser.h"
#include "ui/CaretBrowsing.h"
#include "ui/FindBar.h"
#include "ui/HistoryKeys.h"
#include "ui/PageZoom.h"
#include "ui/ReaderContextMenu.h"
#include "ui/SearchWordKeys.h"
#include "ui/ViewPageCommands.h"

namespace lumera {

BrowserPane::BrowserPane(WebEngineBrowser& browser)
    : container_(new QWidget),
      findBar_(new FindBar(browser.view()->page(), container_)),
      commands_(new ViewPageCommands(browser, findBar_)),
      zoom_(new PageZoom(browser.view())) {
    QWebEngineView* view = browser.view();
    auto* layout = new QVBoxLayout(container_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view, 1);
    layout->addWidget(findBar_);
    // Reading comfort: zoom, back and forward keys, a menu of what works.
    new HistoryKeys(view, [&browser](int direction) { browser.step(direction); });
    contextMenu_ = new ReaderContextMenu(
        view, zoom_, browser, [commands = commands_] { commands->Find(); },
        [commands = commands_] { commands->Print(); });
    new SearchWordKeys(browser.searchHighlight(), findBar_, container_);
    new CaretBrowsing(view);
    // The shown page's title is the view's name: a new article is announced.
    view->setAccessibleName(QObject::tr("Página da enciclopédia"));
    QObject::connect(view, &QWebEngineView::titleChanged, view, [view](const QString& title) {
        view->setAccessibleName(title.isEmpty() ? QObject::tr("Página da enciclopédia") : title);
    });
}

BrowserPane::~BrowserPane() { delete container_.data(); }

PageCommands& BrowserPane::commands() const { return *commands_; }

}  // namespace lumera
