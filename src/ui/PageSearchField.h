#pragma once

#include <QObject>
#include <functional>

class QWebEngineView;
class QWidget;

namespace lumera {

// The search field of the CD's pages, an input named "request": named for
// assistive technology, and reached from anywhere in the window with Ctrl+L
// or F6, as in browsers. A page without it gives way to the home page, where
// the field then gets the focus.
class PageSearchField : public QObject {
  public:
    PageSearchField(QWidget* window, QWebEngineView* view, std::function<void()> goHome);
    // Focuses the field of the shown page, else shows the home page for it.
    void reach();

  private:
    void focus(bool orGoHome);

    QWebEngineView* view_;
    std::function<void()> goHome_;
    bool awaitingHome_ = false;
};

}  // namespace lumera
