#include "ui/QtWindowSystem.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/ReaderMessageBox.h"

namespace lumera {

void QtWindowSystem::MessageBox(const QString& text, const QString& title, int style) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (style & 0x70) {
        case kMessageCritical:
            icon = QMessageBox::Critical;
            break;
        case 32:
            icon = QMessageBox::Question;
            break;
        case kMessageExclamation:
            icon = QMessageBox::Warning;
            break;
        case kMessageInformation:
            icon = QMessageBox::Information;
            break;
        default:
            break;
    }
    ReaderMessageBox box(icon, text, QMessageBox::Ok, parent_);
    box.setWindowTitle(title);
    // The busy pointer must not hide that the box waits for the user.
    const bool wasBusy = busy_;
    if (wasBusy) QApplication::restoreOverrideCursor();
    // A closed box hands activation to its parent, the main window, which
    // would then cover the search window the user was typing in.
    const QPointer<QWidget> active = QApplication::activeWindow();
    box.exec();
    if (active && active->isVisible()) {
        active->raise();
        active->activateWindow();
    }
    if (wasBusy) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtWindowSystem::SetBusyPointer(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void QtWindowSystem::ProcessPendingEvents() { QApplication::processEvents(); }

}  // namespace lumera
