// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <thread>

namespace lumetra::output {

// Flushes a file to the disk from a thread of its own, at most once an
// interval, so that whoever writes the file never waits for the disk: a flush
// costs milliseconds, a write microseconds.
class BackgroundFlush {
public:
    explicit BackgroundFlush(std::chrono::milliseconds interval);
    // Flushes what is still waiting, then stops.
    ~BackgroundFlush();
    BackgroundFlush(const BackgroundFlush&) = delete;
    BackgroundFlush& operator=(const BackgroundFlush&) = delete;

    // The file to flush from now on, through a descriptor of its own; -1 for none.
    void follow(int fd);
    // Something was written that should reach the disk.
    void wrote();
    // The error number of a flush that failed since the last call, or 0.
    int takeFailure() { return failure_.exchange(0); }

private:
    void run(std::stop_token stop);
    void flush(int fd);

    const std::chrono::milliseconds interval_;
    std::mutex mutex_;
    std::condition_variable_any wake_;
    int fd_ = -1;
    bool pending_ = false;
    std::atomic<int> failure_{0};
    std::jthread thread_; // last, so that it starts when the rest is ready
};

} // namespace lumetra::output
