#pragma once

#include <QObject>

class QWebEngineView;

namespace lumera {

// Keys and mouse input to a web view arrive at the engine's render widget, a
// child the view makes when it first shows a page, and made again with a new
// page; a filter derived from this sees the input wherever it lands.
class ViewInputFilter : public QObject {
  protected:
    explicit ViewInputFilter(QWebEngineView* view);
    // True when the event was used and goes no further.
    virtual bool filterInput(QEvent* event) = 0;

    QWebEngineView* view_;

  private:
    bool eventFilter(QObject* watched, QEvent* event) final;
};

}  // namespace lumera
