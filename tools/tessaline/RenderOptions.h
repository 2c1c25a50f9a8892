// The arguments of `tessaline render`, parsed and checked before any file or the bundle is touched.
#pragma once

#include "OptionTable.h"
#include "RoomSettings.h"
#include "RoomVariation.h"

#include <cstdint>

#include <string>
#include <vector>

namespace TessalineTool {

struct RenderOptions
{
    std::vector<std::string> inputs; // empty: the built-in demo signal
    std::string outputPath;          // the one output, when outputFolder is empty
    std::string outputFolder;        // -o DIR: one output per input, named like it
    RoomSettings room;
    int blockSize = 512;
    bool renderTail = true;     // false: stop at the end of the input (--no-tail)
    double mix = 1.0;           // share of the room signal, 0..1 (--mix PERCENT / 100)
    bool normalize = false;     // --normalize DBFS given
    double normalizeDbfs = 0.0; // the output's peak level when normalizing
    std::string type;           // --type: the output container, whatever OUT's name says
    int jobs = 0;               // --jobs N: files rendered at a time (0: one per processor)
    std::string listFile;       // --list FILE: one job per line ("-": standard input)
    RoomVariation variation;    // --vary PARAM=LOW:HIGH / PARAM=A,B,C: each output's own room
    uint64_t seed = 0;          // --seed S for the variation
    std::string roomsFile;      // --rooms FILE: the variation's record (default: rooms.jsonl per folder)
    int roomRate = 0;           // --room-rate HZ: the room as it sounds at HZ (0: at the file's rate)
    bool demo = false;          // --demo: the built-in phrase, into OUT or the default name
    bool help = false;
};

// Fills options from the render command's arguments; false with a message on bad usage.
bool parseRenderOptions(const std::vector<std::string>& args, RenderOptions& options, std::string& error);

// Applies one of render's options (value "" for a flag), on the command line or a job line;
// false with a message for a bad value.
bool takeRenderOption(const Option& option, const std::string& value, RenderOptions& options,
                      std::string& error);

// A share of the room signal given in percent, 0 to 100, as the fraction --mix holds; false
// outside that range.
bool mixFromPercent(double percent, double& mix);

} // namespace TessalineTool
