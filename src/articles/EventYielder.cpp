#include "articles/EventYielder.h"

namespace lumera {

EventYielder::EventYielder(WindowSystem& windows, std::chrono::milliseconds minInterval)
    : windows_(windows), minInterval_(minInterval) {}

void EventYielder::yield() {
    if (sinceLastProcessing_.isValid() && sinceLastProcessing_.elapsed() < minInterval_.count()) {
        return;
    }
    windows_.ProcessPendingEvents();
    sinceLastProcessing_.start();
}

}  // namespace lumera
