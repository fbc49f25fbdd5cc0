#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>

namespace lumera {

// Passes items numbered 0, 1, 2... that several threads make on to pass(),
// in the order of their numbers, whatever order the threads finish them in.
// It holds at most `window` items ahead of the next one; a thread whose item
// is further ahead waits. The first failure of pass(), or fail(), ends it:
// every later hand() throws that failure.
template <typename Item>
class OrderedHandoff {
  public:
    OrderedHandoff(std::function<void(Item)> pass, std::size_t window)
        : pass_(std::move(pass)), window_(window) {}

    void hand(std::size_t number, Item item) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return number < next_ + window_ || failure_; });
        if (failure_) std::rethrow_exception(failure_);
        waiting_.emplace(number, std::move(item));
        if (passing_) return;  // the thread that passes items on takes this one too
        passing_ = true;
        while (!failure_ && !waiting_.empty() && waiting_.begin()->first == next_) {
            Item next = std::move(waiting_.begin()->second);
            waiting_.erase(waiting_.begin());
            lock.unlock();
            std::exception_ptr failed;
            try {
                pass_(std::move(next));
            } catch (...) {
                failed = std::current_exception();
            }
            lock.lock();
            if (failed) {
                failure_ = failed;
            } else {
                ++next_;
            }
            changed_.notify_all();
        }
        passing_ = false;
        if (failure_) std::rethrow_exception(failure_);
    }

    // Ends the handoff, waking every waiting thread; the first failure stays.
    void fail(std::exception_ptr failure) {
        {
            const std::lock_guard lock(mutex_);
            if (!failure_) failure_ = failure;
            waiting_.clear();
        }
        changed_.notify_all();
    }

  private:
    std::function<void(Item)> pass_;
    const std::size_t window_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::size_t, Item> waiting_;
    std::size_t next_ = 0;
    bool passing_ = false;
    std::exception_ptr failure_;
};

}  // namespace lumera
