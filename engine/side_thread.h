// A thread kept beside its owner to run one task at a time, so that work cut in two pieces
// again and again does not pay for starting a thread each time.
#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace morvane {

class SideThread {
  public:
    SideThread() = default;
    SideThread(const SideThread&) = delete;
    SideThread& operator=(const SideThread&) = delete;
    ~SideThread();

    // Runs task on the side thread (started at the first call). One task at a time: call Wait
    // before the next Start.
    void Start(std::function<void()> task);
    // Waits for the task to end; an exception it threw is thrown here.
    void Wait();

  private:
    void Loop();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> task_;
    bool busy_ = false;
    bool stopping_ = false;
    std::exception_ptr error_;
    std::thread thread_;
};

} // namespace morvane
