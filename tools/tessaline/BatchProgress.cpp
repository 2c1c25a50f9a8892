#include "BatchProgress.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace TessalineTool {

namespace {
constexpr auto kQuietStart = std::chrono::milliseconds(400);
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr int kBarWidth = 32;
} // namespace

BatchProgress::BatchProgress(int files)
    : files(files > 0 ? files : 1)
    , enabled(isatty(STDERR_FILENO) != 0)
    , started(Clock::now())
    , lastDrawn(started)
{}

BatchProgress::~BatchProgress() { finish(); }

void BatchProgress::update()
{
    const Clock::time_point now = Clock::now();
    if (!enabled || now - started < kQuietStart || (shown && now - lastDrawn < kRedrawInterval))
        return;
    lastDrawn = now;
    const int done = filesDone.load();
    const double audio = static_cast<double>(audioMicroseconds.load()) / 1e6;
    const double wall = std::chrono::duration<double>(now - started).count();
    const int filled = done * kBarWidth / files;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kBarWidth - filled), '.');
    std::fprintf(stderr, "\r\033[Krendering [%s] %d / %d files, %.1f s of audio, %.0fx real time",
                 bar.c_str(), done, files, audio, wall > 0.0 ? audio / wall : 0.0);
    std::fflush(stderr);
    shown = true;
}

void BatchProgress::finish()
{
    if (!shown)
        return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    shown = false;
}

} // namespace TessalineTool
