#include "ProgressBar.h"

#include <cstdio>
#include <string>
#include <unistd.h>
#include <utility>

namespace TessalineTool {

namespace {
constexpr int kBarWidth = 32;
} // namespace

ProgressBar::ProgressBar(int64_t total, int sampleRate, std::string label, bool wanted)
    : total(total > 0 ? total : 1)
    , sampleRate(sampleRate > 0 ? sampleRate : 1)
    , label(std::move(label))
    , enabled(wanted && isatty(STDERR_FILENO) != 0)
{}

ProgressBar::~ProgressBar() { finish(); }

void ProgressBar::update(int64_t done)
{
    if (!enabled)
        return;
    const RedrawPacing::Clock::time_point now = RedrawPacing::Clock::now();
    if (!pacing.due(now, shown))
        return;
    draw(done);
}

void ProgressBar::draw(int64_t done)
{
    const double fraction = done >= total ? 1.0 : static_cast<double>(done) / static_cast<double>(total);
    const int filled = static_cast<int>(fraction * kBarWidth);
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kBarWidth - filled), '.');
    std::fprintf(stderr, "\r%s [%s] %3d%%  %.1f / %.1f s", label.c_str(), bar.c_str(),
                 static_cast<int>(fraction * 100.0), static_cast<double>(done) / sampleRate,
                 static_cast<double>(total) / sampleRate);
    std::fflush(stderr);
    shown = true;
}

void ProgressBar::finish()
{
    if (!shown)
        return;
    // Erase the line so the summary or an error message starts clean.
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    shown = false;
}

} // namespace TessalineTool
