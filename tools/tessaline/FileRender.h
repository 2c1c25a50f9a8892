// One render of a sound file (or the built-in demo) through the bundle into a new file, as a DAW
// renders a track with the effect on it, tail included, optionally blended with the dry signal
// and normalized.
#pragma once

#include "RenderOptions.h"

#include <cstdint>
#include <functional>
#include <string>

namespace TessalineTool {

class StopSignals;

struct FileRender
{
    std::string bundlePath;
    std::string input; // empty: the built-in demo
    std::string output;
    std::string progressLabel; // "rendering", "file 2 of 5"
    // When set, called after every block with the frames done and the rate in place of the
    // file's own progress bar (a batch draws one bar for all).
    std::function<void(int64_t done, int sampleRate)> onProgress;
    // When set, the render ends at the next block once a stop signal has arrived.
    const StopSignals* stop = nullptr;
};

// Renders and prints a summary line (and a note when samples went beyond full scale); false with
// a message on failure, leaving no output file behind.
bool renderFile(const FileRender& job, const RenderOptions& options, std::string& error);

} // namespace TessalineTool
