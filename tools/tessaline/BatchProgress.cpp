#include "BatchProgress.h"

#include <cstdio>
#include <numeric>
#include <string>
#include <unistd.h>

namespace TessalineTool {

namespace {
constexpr int kBarWidth = 24;
} // namespace

BatchProgress::BatchProgress(size_t files, int workers)
    : files(files > 0 ? files : 1)
    , currentSeconds(static_cast<size_t>(workers > 0 ? workers : 1), 0.0)
    , enabled(isatty(STDERR_FILENO) != 0)
{}

BatchProgress::~BatchProgress()
{
    if (shown)
    {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
    }
}

void BatchProgress::update(int worker, int64_t done, int sampleRate)
{
    const std::lock_guard<std::mutex> hold(lock);
    currentSeconds[static_cast<size_t>(worker)] =
        sampleRate > 0 ? static_cast<double>(done) / sampleRate : 0.0;
    drawLocked();
}

void BatchProgress::fileDone(int worker)
{
    const std::lock_guard<std::mutex> hold(lock);
    double& current = currentSeconds[static_cast<size_t>(worker)];
    finishedSeconds += current;
    current = 0.0;
    ++filesDone;
    drawLocked();
}

void BatchProgress::drawLocked()
{
    if (!enabled)
        return;
    const RedrawPacing::Clock::time_point now = RedrawPacing::Clock::now();
    if (!pacing.due(now, shown))
        return;
    const double audio = std::accumulate(currentSeconds.begin(), currentSeconds.end(), finishedSeconds);
    const double wall = std::chrono::duration<double>(now - pacing.start()).count();
    const auto filled = static_cast<size_t>(kBarWidth * filesDone / files);
    std::string bar(filled, '#');
    bar.append(static_cast<size_t>(kBarWidth) - filled, '.');
    // The cursor goes back to the start of the line, so a summary line printed on standard output
    // meanwhile writes over the bar rather than after it.
    std::fprintf(stderr, "\r\033[K%zu / %zu files [%s] %.1f s of audio, %.1fx real time\r", filesDone, files,
                 bar.c_str(), audio, wall > 0.0 ? audio / wall : 0.0);
    std::fflush(stderr);
    shown = true;
}

} // namespace TessalineTool
