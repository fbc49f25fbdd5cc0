#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "host/WindowSystem.h"

namespace lumera {

class QtWindowSystem : public WindowSystem {
  public:
    // parent: the window message boxes belong to (may be set later).
    void setParentWindow(QWidget* parent) { parent_ = parent; }

    void MessageBox(const QString& text, const QString& title, int style) override;
    void SetBusyPointer(bool busy) override;
    void ProcessPendingEvents() override;

  private:
    QPointer<QWidget> parent_;
    bool busy_ = false;
};

}  // namespace lumera
