// The progress line: written over itself with a carriage return, never to a file or a pipe.
#include "app/batch_progress.h"

#include <unistd.h>

namespace morvane {

using std::chrono::duration;
using std::chrono::steady_clock;

BatchProgress::BatchProgress(std::FILE* stream, bool enabled, Clock clock)
    : stream_(stream), enabled_(enabled), clock_(std::move(clock)) {}

BatchProgress BatchProgress::ForStandardError(Clock clock) {
    return BatchProgress(stderr, ::isatty(STDERR_FILENO) == 1, std::move(clock));
}

steady_clock::time_point BatchProgress::Now() const {
    return clock_ ? clock_() : steady_clock::now();
}

void BatchProgress::Start(std::uint64_t totalBytes) {
    total_ = totalBytes;
    start_ = lastPrint_ = Now();
    shown_ = false;
}

void BatchProgress::Update(std::uint64_t doneBytes) {
    if (!enabled_)
        return;
    const steady_clock::time_point now = Now();
    if (now - start_ <= std::chrono::seconds(1) ||
        now - lastPrint_ < std::chrono::milliseconds(100))
        return;
    Print(doneBytes, now);
}

void BatchProgress::Print(std::uint64_t doneBytes, steady_clock::time_point now) {
    const double seconds = duration<double>(now - start_).count();
    const double mibPerSecond = static_cast<double>(doneBytes) / (1 << 20) / seconds;
    if (total_ > 0) {
        const double percent = 100.0 * static_cast<double>(doneBytes) / static_cast<double>(total_);
        std::fprintf(stream_, "\rmorvane: %3.0f%%  %.1f MiB/s ", percent > 100 ? 100 : percent,
                     mibPerSecond);
    } else {
        std::fprintf(stream_, "\rmorvane: %.1f MiB  %.1f MiB/s ",
                     static_cast<double>(doneBytes) / (1 << 20), mibPerSecond);
    }
    std::fflush(stream_);
    lastPrint_ = now;
    shown_ = true;
}

void BatchProgress::Finish(std::uint64_t doneBytes) {
    if (!shown_)
        return;
    Print(doneBytes, Now());
    std::fputc('\n', stream_);
    std::fflush(stream_);
    shown_ = false;
}

} // namespace morvane
