// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/background_flush.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace lumetra::output {

namespace {

int duplicate(int fd) {
    return fd < 0 ? -1 : ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
}

} // namespace

BackgroundFlush::BackgroundFlush(std::chrono::milliseconds interval)
    : interval_(interval), thread_([this](std::stop_token stop) { run(stop); }) {}

BackgroundFlush::~BackgroundFlush() {
    thread_.request_stop();
    thread_.join();
    if (pending_) {
        flush(fd_);
    }
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void BackgroundFlush::follow(int fd) {
    const std::lock_guard lock(mutex_);
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = duplicate(fd);
    pending_ = false;
}

void BackgroundFlush::wrote() {
    {
        const std::lock_guard lock(mutex_);
        pending_ = true;
    }
    wake_.notify_one();
}

void BackgroundFlush::run(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (wake_.wait(lock, stop, [this] { return pending_; })) {
        pending_ = false;
        // A descriptor of the flush's own: follow() may close the other meanwhile.
        const int fd = duplicate(fd_);
        lock.unlock();
        flush(fd);
        if (fd >= 0) {
            ::close(fd);
        }
        lock.lock();
        // What is written meanwhile waits for the next flush, an interval on.
        wake_.wait_for(lock, stop, interval_, [] { return false; });
    }
}

void BackgroundFlush::flush(int fd) {
    if (fd >= 0 && ::fdatasync(fd) != 0) {
        failure_ = errno;
    }
}

} // namespace lumetra::output
