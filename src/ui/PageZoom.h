#pragma once

#include <QString>

#include "ui/ViewInputFilter.h"

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
    // The factor a step in (+1) or out (-1) from factor leads to; 0: 100 %.
    static double stepped(double factor, int direction);
    // The factor kept for the next run, and keeping one.
    static double keptFactor();
    static void keep(double factor);
    void zoomIn();
    void zoomOut();
    void reset();
    // Clamped to the limits; kept.
    void setFactor(double factor);

  Q_SIGNALS:
    void changed(double factor);

  private:
    bool filterInput(QEvent* event) override;

    double factor_;
};

}  // namespace lumera
