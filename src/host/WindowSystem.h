#pragma once

#include <QString>

namespace lumera {

// Message box icon styles, as the program passes them.
enum MessageStyle : int {
    kMessageCritical = 16,
    kMessageExclamation = 48,
    kMessageInformation = 64,
};

// Window-system services the logic needs, so it can run without a screen.
class WindowSystem {
  public:
    virtual ~WindowSystem() = default;
    // Modal; returns when the user has closed it.
    virtual void MessageBox(const QString& text, const QString& title, int style) = 0;
    virtual void SetBusyPointer(bool busy) = 0;
    // Lets the window system deliver pending events to their handlers.
    virtual void ProcessPendingEvents() = 0;
};

}  // namespace lumera
