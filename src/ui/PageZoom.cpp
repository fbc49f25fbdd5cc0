#include "ui/PageZoom.h"

#include <QAction>
#include <QSettings>
#include <QWebEngineView>
#include <QWheelEvent>
#include <algorithm>
#include <array>

namespace lumera {
namespace {

const QString kSetting = QStringLiteral("leitura/zoom");

// The steps browsers take, so that a few presses reach a readable size.
constexpr std::array kSteps = {0.25, 0.33, 0.5,  0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                               1.25, 1.5,  1.75, 2.0,  2.5,  3.0, 4.0, 5.0};

}  // namespace

PageZoom::PageZoom(QWebEngineView* view) : ViewInputFilter(view), factor_(keptFactor()) {
    const auto shortcut = [this](const QList<QKeySequence>& keys, void (PageZoom::*slot)()) {
        auto* action = new QAction(view_);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        view_->addAction(action);
    };
    shortcut({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, &PageZoom::zoomIn);
    shortcut({QKeySequence::ZoomOut}, &PageZoom::zoomOut);
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_0)}, &PageZoom::reset);
    // The engine keeps a factor per site; every page gets the reader's.
    connect(view_, &QWebEngineView::loadFinished, this, [this] { view_->setZoomFactor(factor_); });
    view_->setZoomFactor(factor_);
}

double PageZoom::stepped(double factor, int direction) {
    if (direction > 0) {
        const auto next = std::upper_bound(kSteps.begin(), kSteps.end(), factor + 0.001);
        return next == kSteps.end() ? kMaximum : *next;
    }
    if (direction < 0) {
        const auto below = std::lower_bound(kSteps.begin(), kSteps.end(), factor - 0.001);
        return below == kSteps.begin() ? kMinimum : *(below - 1);
    }
    return 1.0;
}

double PageZoom::keptFactor() {
    return std::clamp(QSettings().value(kSetting, 1.0).toDouble(), kMinimum, kMaximum);
}

void PageZoom::keep(double factor) { QSettings().setValue(kSetting, factor); }

void PageZoom::zoomIn() { setFactor(stepped(factor_, 1)); }

void PageZoom::zoomOut() { setFactor(stepped(factor_, -1)); }

void PageZoom::reset() { setFactor(1.0); }

void PageZoom::setFactor(double factor) {
    factor_ = std::clamp(factor, kMinimum, kMaximum);
    view_->setZoomFactor(factor_);
    keep(factor_);
    Q_EMIT changed(factor_);
}

bool PageZoom::filterInput(QEvent* event) {
    if (event->type() != QEvent::Wheel) return false;
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier)) return false;
    wheel->angleDelta().y() > 0 ? zoomIn() : zoomOut();
    return true;
}

}  // namespace lumera
