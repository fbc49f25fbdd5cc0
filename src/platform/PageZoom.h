#pragma once

#include <QString>

#include "platform/ViewInputFilter.h"

class QWebEngineView;

namespace lumera {

// Scales the page shown, fonts and pictures together: Ctrl+Plus, Ctrl+Minus,
// Ctrl+0 and Ctrl with the mouse wheel. The factor holds across pages and,
// kept in the settings, across runs.
class PageZoom : public ViewInputFilter {
    Q_OBJECT
  public:
    static constexpr double kMinimum = 0.25;
    static constexpr double kMaximum = 5.0;

    explicit PageZoom(QWebEngineView* view);

    double factor() const { return factor_; }
    void zoomIn();
    void zoomOut();
    void reset();

  private:
    bool filterInput(QEvent* event) override;
    void setFactor(double factor);

    double factor_;
};

}  // namespace lumera
