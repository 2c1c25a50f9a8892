// The arguments of `tessaline render`, parsed and checked before any file or the bundle is touched.
#pragma once

#include <string>
#include <vector>

namespace TessalineTool {

// The demo lands here when no file names are given.
constexpr const char* kDefaultDemoOutput = "tessaline-demo.wav";

struct RenderOptions
{
    std::string inputPath;              // empty: the built-in demo signal
    std::string outputPath;
    std::string preset;                 // empty: the plug-in's initial values
    std::vector<std::string> settings;  // "Title=Value", applied after the preset, in order
    int blockSize = 512;
    bool renderTail = true;             // false: stop at the end of the input (--no-tail)
    bool help = false;
};

// Fills options from the render command's arguments; false with a message on bad usage.
bool parseRenderOptions(const std::vector<std::string>& args, RenderOptions& options,
                        std::string& error);

// The render command's usage text.
const char* renderUsage();

} // namespace TessalineTool
