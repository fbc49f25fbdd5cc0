#pragma once

#include <QObject>

class QWebEngineView;

namespace lumera {

// F7 turns caret browsing on and off in the page: a caret that the arrow keys
// move and that Shift with them turns into a selection, to copy text without
// a mouse. This engine has no switch for it, so the page's body is made
// editable while every edit is refused; each new page keeps the mode.
class CaretBrowsing : public QObject {
  public:
    explicit CaretBrowsing(QWebEngineView* view);
    bool isOn() const { return on_; }
    void toggle();

  private:
    void apply();

    QWebEngineView* view_;
    bool on_ = false;
};

}  // namespace lumera
