#pragma once

#include <QElapsedTimer>
#include <chrono>

#include "host/WindowSystem.h"

namespace lumera {

// Lets the window process its pending events during a long request. Events
// are processed at the first yield and then at most once per interval, so the
// thousands of yields of a long article cost nothing.
class EventYielder {
  public:
    EventYielder(WindowSystem& windows, std::chrono::milliseconds minInterval);
    void yield();

  private:
    WindowSystem& windows_;
    std::chrono::milliseconds minInterval_;
    QElapsedTimer sinceLastProcessing_;
};

}  // namespace lumera
