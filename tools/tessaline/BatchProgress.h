// One progress line on standard error for a whole batch rendered on several threads: files done,
// seconds of audio rendered and how many times faster than real time. Silent when standard error
// is not a terminal.
#pragma once

#include "RedrawPacing.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace TessalineTool {

class BatchProgress
{
public:
    BatchProgress(size_t files, int workers);
    // Clears the line if it is shown.
    ~BatchProgress();
    BatchProgress(const BatchProgress&) = delete;
    BatchProgress& operator=(const BatchProgress&) = delete;

    // Worker `worker` has rendered `done` frames at sampleRate of the file it is on.
    void update(int worker, int64_t done, int sampleRate);
    // Worker `worker` is through with its file (rendered or failed).
    void fileDone(int worker);

private:
    void drawLocked();

    std::mutex lock;
    size_t files;
    size_t filesDone = 0;
    double finishedSeconds = 0.0;
    std::vector<double> currentSeconds; // per worker, of the file in progress
    bool enabled;
    bool shown = false;
    RedrawPacing pacing;
};

} // namespace TessalineTool
