#pragma once

#include <functional>

namespace lumera {

// Keeps runs from overlapping when events are processed inside a run: an
// action asked for meanwhile waits until the run is over, and of several
// waiting actions only the newest runs.
class RunGate {
  public:
    // Runs action now, or after the run in progress when busy.
    void run(std::function<void()> action);
    // Forgets the waiting action: the newest wish is met by the one running.
    void cancelWaiting() { waiting_ = nullptr; }

  private:
    bool busy_ = false;
    std::function<void()> waiting_;
};

}  // namespace lumera
