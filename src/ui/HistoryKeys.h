#pragma once

#include <functional>

#include "ui/ViewInputFilter.h"

class QWebEngineView;

namespace lumera {

// Back and forward as every browser has them: Alt+Left, Alt+Right and the
// mouse's back and forward buttons, each a step (-1 back, +1 forward) of the
// reader's history, whose pages are announced to the router like any other.
class HistoryKeys : public ViewInputFilter {
    Q_OBJECT
  public:
    HistoryKeys(QWebEngineView* view, std::function<void(int direction)> step);

  private:
    bool filterInput(QEvent* event) override;

    std::function<void(int)> step_;
};

}  // namespace lumera
