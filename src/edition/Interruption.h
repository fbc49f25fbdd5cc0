#pragma once

#include <atomic>

namespace lumera {

// Ctrl+C or a termination request during a long run: the first asks the run
// to stop at its next step, so that it removes what it has written; a second
// ends the program at once. One at a time; the handlers before it come back
// when it goes.
class Interruption {
  public:
    Interruption();
    ~Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    const std::atomic_bool& requested() const;
};

}  // namespace lumera
