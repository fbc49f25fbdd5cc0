#include "ui/HistoryKeys.h"

#include <QAction>
#include <QMouseEvent>
#include <QWebEngineView>

namespace lumera {

HistoryKeys::HistoryKeys(QWebEngineView* view) : ViewInputFilter(view) {
    const auto key = [this](const QKeySequence& keys, QWebEnginePage::WebAction step) {
        auto* action = new QAction(view_);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this,
                [this, step] { view_->triggerPageAction(step); });
        view_->addAction(action);
    };
    key(QKeySequence(Qt::ALT | Qt::Key_Left), QWebEnginePage::Back);
    key(QKeySequence(Qt::ALT | Qt::Key_Right), QWebEnginePage::Forward);
}

bool HistoryKeys::filterInput(QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress) return false;
    const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
    if (button == Qt::BackButton) view_->triggerPageAction(QWebEnginePage::Back);
    if (button == Qt::ForwardButton) view_->triggerPageAction(QWebEnginePage::Forward);
    return button == Qt::BackButton || button == Qt::ForwardButton;
}

}  // namespace lumera
