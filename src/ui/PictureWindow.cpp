#include "ui/PictureWindow.h"

#include <QLabel>

#include "ui/ActivationTracker.h"

namespace lumera {

const QString PictureWindow::kCaption = QStringLiteral("Nova Lumera Orvel - TV");

PictureWindow::PictureWindow(const QPixmap& picture, QWidget* parent)
    : QWidget(parent, Qt::Window), picture1_(new QWidget(this)) {
    setObjectName(QStringLiteral("tv"));
    setWindowTitle(kCaption);
    setProperty(ActivationTracker::kReturnsActivation, true);
    setFixedSize(kClientSize);
    auto* background = new QLabel(this);
    background->setPixmap(picture.scaled(kClientSize));
    background->setGeometry(QRect(QPoint(0, 0), kClientSize));
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setGeometry(kScreenArea);
    picture1_->raise();
}

QPixmap PictureWindow::defaultPicture() { return QPixmap(QStringLiteral(":/lumera/tv.jpg")); }

void PictureWindow::showAndRaise() {
    show();
    raise();
    activateWindow();
}

}  // namespace lumera
