// The one progress line of a batch rendered several files at once: files done of all, seconds of
// audio rendered and how many times faster than real time. Drawn by the thread that waits for the
// batch, at most a few times a second; silent when standard error is not a terminal.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace TessalineTool {

class BatchProgress
{
public:
    explicit BatchProgress(int files);
    ~BatchProgress();
    BatchProgress(const BatchProgress&) = delete;
    BatchProgress& operator=(const BatchProgress&) = delete;

    // [any thread] Counters the rendering threads advance.
    std::atomic<int> filesDone{0};
    std::atomic<int64_t> audioMicroseconds{0};

    // [waiting thread] Redraws when due.
    void update();
    // [waiting thread] Removes the line.
    void finish();

private:
    using Clock = std::chrono::steady_clock;
    int files;
    bool enabled;
    bool shown = false;
    Clock::time_point started;
    Clock::time_point lastDrawn;
};

} // namespace TessalineTool
