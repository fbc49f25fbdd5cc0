#include "ui/ActivationTracker.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace lumera {

ActivationTracker::ActivationTracker(QWidget* mainWindow, std::function<void()> onActivate,
                                     QObject* parent)
    : QObject(parent), mainWindow_(mainWindow), onActivate_(std::move(onActivate)) {
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &ActivationTracker::focusMovedTo);
}

bool ActivationTracker::returnsActivation(QWindow* window) const {
    if (!window) return false;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->windowHandle() == window) return widget->property(kReturnsActivation).toBool();
    }
    return false;
}

void ActivationTracker::focusMovedTo(QWindow* window) {
    if (!window) return;  // another application: remember where we were
    const bool isMain = mainWindow_->windowHandle() == window;
    if (!isMain) {
        lastProgramWindow_ = window;
        return;
    }
    const bool fromReturningWindow = lastProgramWindow_ && returnsActivation(lastProgramWindow_);
    const bool first = !activatedOnce_;
    lastProgramWindow_ = window;
    if (first || fromReturningWindow) {
        activatedOnce_ = true;
        onActivate_();
    }
}

}  // namespace lumera
