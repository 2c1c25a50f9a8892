// Sub-commands of the `tessaline` tool; each lives in its own file and returns the exit status.
#pragma once

#include <string>
#include <vector>

namespace TessalineTool {

struct CommandLine
{
    std::string bundlePath;        // --bundle PATH, or the bundle beside the executable
    std::vector<std::string> args; // the sub-command's own arguments
};

// Prints what a host sees of the bundle: factory, class, parameters, units and presets; with
// --json the same for scripts.
int runInfo(const CommandLine& commandLine);

// Renders a sound file (or the built-in demo) through the bundle into a new file, or several
// files into a folder.
int runRender(const CommandLine& commandLine);

// Writes the room's impulse response for a set of settings as a 32-bit float file.
int runIr(const CommandLine& commandLine);

// Draws the room for a set of settings (response, decay, reverberation times) into a PNG.
int runPlot(const CommandLine& commandLine);

// The bundle in the build tree next to this executable.
std::string defaultBundlePath();

} // namespace TessalineTool
