#pragma once

#include <QList>
#include <QString>
#include <functional>

#include "host/WindowSystem.h"

namespace lumera {

struct ShownMessage {
    QString text;
    QString title;
    int style;
};

// The window system without a screen, for the logic run by lumera-cli, the
// tests and the bench: message boxes, busy pointer changes and rounds of
// pending events are written down. Its owner may also be told of each message
// as it is shown, and run something in each round (Qt's own events, say).
class HeadlessWindowSystem : public WindowSystem {
  public:
    QList<ShownMessage> messages;
    QList<bool> busy;
    int pendingEventRounds = 0;
    std::function<void(const ShownMessage&)> onMessage;
    std::function<void()> onProcessEvents;

    void MessageBox(const QString& text, const QString& title, int style) override;
    void SetBusyPointer(bool on) override;
    void ProcessPendingEvents() override;
};

}  // namespace lumera
