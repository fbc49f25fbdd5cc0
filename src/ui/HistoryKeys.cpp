#include "ui/HistoryKeys.h"

#include <QAction>
#include <QMouseEvent>
#include <QWebEngineView>

namespace lumera {

HistoryKeys::HistoryKeys(QWebEngineView* view, std::function<void(int direction)> step)
    : ViewInputFilter(view), step_(std::move(step)) {
    const auto key = [this](const QKeySequence& keys, int direction) {
        auto* action = new QAction(view_);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, direction] { step_(direction); });
        view_->addAction(action);
    };
    key(QKeySequence(Qt::ALT | Qt::Key_Left), -1);
    key(QKeySequence(Qt::ALT | Qt::Key_Right), 1);
}

bool HistoryKeys::filterInput(QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress) return false;
    const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
    if (button == Qt::BackButton) step_(-1);
    if (button == Qt::ForwardButton) step_(1);
    return button == Qt::BackButton || button == Qt::ForwardButton;
}

}  // namespace lumera
