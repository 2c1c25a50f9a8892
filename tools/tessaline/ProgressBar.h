// A progress bar on standard error for renders that take more than a moment. It stays silent
// when standard error is not a terminal (scripts, logs, tests).
#pragma once

#include "RedrawPacing.h"

#include <cstdint>
#include <string>

namespace TessalineTool {

class ProgressBar
{
public:
    // total: the amount of work (frames); sampleRate turns it into seconds of audio for the text;
    // label names the work ("rendering", "file 2 of 5"); a bar not wanted stays silent.
    ProgressBar(int64_t total, int sampleRate, std::string label = "rendering", bool wanted = true);
    // Clears the bar if it is still shown.
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // Records the work done; redraws at most a few times a second, and only once the render has
    // run longer than a moment.
    void update(int64_t done);
    // Removes the bar from the terminal.
    void finish();

private:
    void draw(int64_t done);

    int64_t total;
    int sampleRate;
    std::string label;
    bool enabled;
    bool shown = false;
    RedrawPacing pacing;
};

} // namespace TessalineTool
