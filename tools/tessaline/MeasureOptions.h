// The arguments of `tessaline ir` and `tessaline plot`: one output file, the room settings, the
// sample rate and length of the response, and (plot) the picture's size.
#pragma once

#include "OptionTable.h"
#include "RoomSettings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace TessalineTool {

struct MeasureOptions
{
    std::string outputPath;
    RoomSettings room;
    int sampleRate = 48000;
    double lengthSeconds = 0.0; // 0: the tail the plug-in reports
    int width = 1200;           // plot only (--size)
    int height = 900;
    std::string type; // ir only (--type): the output container, whatever OUT's name says
    bool help = false;

    // The response length in frames at the chosen rate; 0 asks for the tail the plug-in reports.
    int64_t frames() const;
};

// Fills options from the arguments of the command of that scope (ir or plot, which take the
// options the option table gives them). False with a message on bad usage.
bool parseMeasureOptions(const std::vector<std::string>& args, Scope scope, MeasureOptions& options,
                         std::string& error);

} // namespace TessalineTool
