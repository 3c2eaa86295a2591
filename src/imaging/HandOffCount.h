#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace glimra {

// A count one thread raises and another waits to reach: how two threads hand strips of one
// picture to each other. A wait looks without sleeping for up to a millisecond first, since
// strips follow each other faster than that, and under Wine every sleep and wake on a
// condition variable is a round trip to the server; a longer wait sleeps.
class HandOffCount {
  public:
    void Raise() {
        {
            const std::lock_guard lock(mutex_);
            value_.fetch_add(1);
        }
        changed_.notify_all();
    }

    // Wakes every wait for good.
    void End() {
        {
            const std::lock_guard lock(mutex_);
            ended_ = true;
        }
        changed_.notify_all();
    }

    // True once the count has reached `target`; false when ended before.
    bool WaitFor(int target) {
        const auto reached = [&] { return value_.load() >= target || ended_.load(); };
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1);
        while (!reached() && std::chrono::steady_clock::now() < until)
            std::this_thread::yield();
        if (!reached()) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, reached);
        }
        return value_.load() >= target;
    }

  private:
    std::atomic<int> value_{0};
    std::atomic<bool> ended_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
};

}  // namespace glimra
