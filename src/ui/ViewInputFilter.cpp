#include "ui/ViewInputFilter.h"

#include <QChildEvent>
#include <QWebEngineView>

namespace lumera {

ViewInputFilter::ViewInputFilter(QWebEngineView* view) : QObject(view), view_(view) {
    view_->installEventFilter(this);
    for (QObject* child : view_->children()) {
        if (child->isWidgetType()) child->installEventFilter(this);
    }
}

bool ViewInputFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::ChildAdded) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType()) child->installEventFilter(this);
        return false;
    }
    return filterInput(event);
}

}  // namespace lumera
