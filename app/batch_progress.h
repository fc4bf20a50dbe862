// The progress line of a long batch conversion on standard error: share done and speed.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>

namespace morvane {

class BatchProgress {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // Reports to stream when enabled; clock is for tests, the steady clock otherwise.
    BatchProgress(std::FILE* stream, bool enabled, Clock clock = {});
    // The line on standard error, shown only when that is a terminal.
    static BatchProgress ForStandardError(Clock clock = {});

    // A conversion of totalBytes (0 when not known) begins.
    void Start(std::uint64_t totalBytes);
    // doneBytes of the source are converted. The line appears once the work has taken more than
    // a second, and is rewritten at most ten times a second.
    void Update(std::uint64_t doneBytes);
    // The conversion is over: a line that was shown is brought to doneBytes and ended.
    void Finish(std::uint64_t doneBytes);

  private:
    std::chrono::steady_clock::time_point Now() const;
    void Print(std::uint64_t doneBytes, std::chrono::steady_clock::time_point now);

    std::FILE* stream_;
    bool enabled_;
    Clock clock_;
    std::uint64_t total_ = 0;
    std::chrono::steady_clock::time_point start_{};
    std::chrono::steady_clock::time_point lastPrint_{};
    bool shown_ = false;
};

} // namespace morvane
