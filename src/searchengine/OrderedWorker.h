#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace lumera {

// Hands items to a thread of its own, which takes them one at a time in the
// order given. The queue is bounded, so a fast producer waits for a slow
// consumer instead of filling the memory. The first failure of the thread
// ends its work and is thrown by the next put() or by finish().
template <typename Item>
class OrderedWorker {
  public:
    OrderedWorker(std::function<void(Item&)> take, std::size_t maxQueued)
        : take_(std::move(take)), maxQueued_(maxQueued), thread_([this] { run(); }) {}
    ~OrderedWorker() {
        {
            const std::lock_guard lock(mutex_);
            queue_.clear();  // abandoned
            closed_ = true;
        }
        changed_.notify_all();
        if (thread_.joinable()) thread_.join();
    }
    OrderedWorker(const OrderedWorker&) = delete;
    OrderedWorker& operator=(const OrderedWorker&) = delete;

    void put(Item item) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return queue_.size() < maxQueued_ || failure_; });
        if (failure_) std::rethrow_exception(failure_);
        queue_.push_back(std::move(item));
        lock.unlock();
        changed_.notify_all();
    }

    // Waits until every item is taken; rethrows the thread's failure.
    void finish() {
        {
            const std::lock_guard lock(mutex_);
            closed_ = true;
        }
        changed_.notify_all();
        if (thread_.joinable()) thread_.join();
        if (failure_) std::rethrow_exception(failure_);
    }

  private:
    void run() {
        for (;;) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return !queue_.empty() || closed_; });
            if (queue_.empty()) return;
            Item item = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            changed_.notify_all();
            try {
                take_(item);
            } catch (...) {
                const std::lock_guard failed(mutex_);
                failure_ = std::current_exception();
                queue_.clear();
                changed_.notify_all();
                return;
            }
        }
    }

    std::function<void(Item&)> take_;
    const std::size_t maxQueued_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item> queue_;
    bool closed_ = false;
    std::exception_ptr failure_;
    std::thread thread_;  // last: it starts once the rest is ready
};

}  // namespace lumera
