#include "host/RunGate.h"

#include <utility>

namespace lumera {

void RunGate::run(std::function<void()> action) {
    if (busy_) {
        waiting_ = std::move(action);
        return;
    }
    struct Busy {
        explicit Busy(bool& flag) : flag_(flag) { flag_ = true; }
        ~Busy() { flag_ = false; }
        bool& flag_;
    } busy(busy_);
    action();
    while (waiting_) {
        const std::function<void()> next = std::exchange(waiting_, nullptr);
        next();
    }
}

}  // namespace lumera
