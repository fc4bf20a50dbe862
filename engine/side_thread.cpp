// The side thread: sleeps until given a task, runs it, reports back.
#include "engine/side_thread.h"

#include <utility>

namespace morvane {

SideThread::~SideThread() {
    if (!thread_.joinable())
        return;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void SideThread::Start(std::function<void()> task) {
    {
        const std::lock_guard lock(mutex_);
        task_ = std::move(task);
        busy_ = true;
        error_ = nullptr;
    }
    if (!thread_.joinable())
        thread_ = std::thread([this] { Loop(); });
    changed_.notify_all();
}

void SideThread::Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    if (error_)
        std::rethrow_exception(std::exchange(error_, nullptr));
}

void SideThread::Loop() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return busy_ || stopping_; });
        if (!busy_)
            return; // stopping with nothing left to do
        std::function<void()> task = std::move(task_);
        lock.unlock();
        std::exception_ptr error;
        try {
            task();
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        error_ = error;
        busy_ = false;
        changed_.notify_all();
    }
}

} // namespace morvane
