#include "headless/HeadlessWindowSystem.h"

namespace lumera {

void HeadlessWindowSystem::MessageBox(const QString& text, const QString& title, int style) {
    const ShownMessage shown{text, title, style};
    messages.append(shown);
    if (onMessage) onMessage(shown);
}

void HeadlessWindowSystem::SetBusyPointer(bool on) { busy.append(on); }

void HeadlessWindowSystem::ProcessPendingEvents() {
    ++pendingEventRounds;
    if (onProcessEvents) onProcessEvents();
}

}  // namespace lumera
