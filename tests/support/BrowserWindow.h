#pragma once
// The browser in a shown top-level window of 800×600, as the browser tests
// drive it: Qt WebEngine paints and takes input only in an exposed window.

#include <QWidget>
#include <memory>

#include "platform/WebEngineBrowser.h"

namespace lumera::testing {

inline std::unique_ptr<QWidget> showInWindow(WebEngineBrowser& browser) {
    auto window = std::make_unique<QWidget>();
    browser.widget()->setParent(window.get());
    browser.widget()->setGeometry(0, 0, 800, 600);
    window->resize(800, 600);
    window->show();
    return window;
}

}  // namespace lumera::testing
