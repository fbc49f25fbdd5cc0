#pragma once

#include "ui/ViewInputFilter.h"

class QWebEngineView;

namespace lumera {

// Back and forward as every browser has them: Alt+Left, Alt+Right and the
// mouse's back and forward buttons. They move in the browser's history, so
// each navigation is announced to the router like any other.
class HistoryKeys : public ViewInputFilter {
    Q_OBJECT
  public:
    explicit HistoryKeys(QWebEngineView* view);

  private:
    bool filterInput(QEvent* event) override;
};

}  // namespace lumera
