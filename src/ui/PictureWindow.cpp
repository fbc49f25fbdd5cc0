#include "ui/PictureWindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QWheelEvent>
#include <algorithm>

#include "ui/PageZoom.h"

#include "ui/ActivationTracker.h"

namespace lumera {

const QString PictureWindow::kCaption = QStringLiteral("Nova Lumera Orvel - TV");

PictureWindow::PictureWindow(const QPixmap& picture, QWidget* parent)
    : QWidget(parent, Qt::Window),
      picture_(picture),
      background_(new QLabel(this)),
      picture1_(new QWidget(this)) {
    setObjectName(QStringLiteral("tv"));
    setWindowTitle(kCaption);
    setProperty(ActivationTracker::kReturnsActivation, true);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    background_->setAccessibleName(tr("Televisão da Lumera"));
    picture1_->setAccessibleName(tr("Tela da televisão"));
    auto* close = new QAction(this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &PictureWindow::closeAndReturn);
    addAction(close);
    const auto key = [this](const QKeySequence& keys, int direction) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this,
                [this, direction] { setZoom(PageZoom::stepped(zoom_, direction)); });
        addAction(action);
    };
    key(QKeySequence::ZoomIn, 1);
    key(QKeySequence(Qt::CTRL | Qt::Key_Equal), 1);
    key(QKeySequence::ZoomOut, -1);
    key(QKeySequence(Qt::CTRL | Qt::Key_0), 0);
    setZoom(PageZoom::keptFactor());
}

void PictureWindow::setZoom(double factor) {
    zoom_ = std::clamp(factor, PageZoom::kMinimum, PageZoom::kMaximum);
    const auto scaled = [this](const QRect& r) {
        return QRect((QPointF(r.topLeft()) * zoom_).toPoint(), (QSizeF(r.size()) * zoom_).toSize());
    };
    const QRect client = scaled(QRect(QPoint(0, 0), kClientSize));
    setFixedSize(client.size());
    background_->setPixmap(
        picture_.scaled(client.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    background_->setGeometry(client);
    picture1_->setGeometry(scaled(kScreenArea));
    picture1_->raise();
    PageZoom::keep(zoom_);
}

void PictureWindow::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) return QWidget::wheelEvent(event);
    setZoom(PageZoom::stepped(zoom_, event->angleDelta().y() > 0 ? 1 : -1));
}

QPixmap PictureWindow::defaultPicture() { return QPixmap(QStringLiteral(":/lumera/tv.jpg")); }

void PictureWindow::showAndRaise() {
    if (QApplication::activeWindow() != this) returnTo_ = QApplication::activeWindow();
    show();
    raise();
    activateWindow();
}

void PictureWindow::closeAndReturn() {
    hide();
    // The keyboard goes on where it was before the picture.
    if (returnTo_) returnTo_->activateWindow();
}

}  // namespace lumera
