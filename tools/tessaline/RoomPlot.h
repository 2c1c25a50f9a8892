// The picture of a room: both ears' impulse response over time, linear and in dB, the energy
// decay curve with its T30 line, and T30 per octave band, on one page.
#pragma once

#include "DecayAnalysis.h"
#include "ImpulseResponse.h"

#include <cairo.h>

#include <string>
#include <vector>

namespace TessalineTool {

// A text shown in the picture, under a fixed name, so that scripts can read what is drawn.
struct PlotLabel
{
    std::string key;  // "T30", "T30 125 Hz", ...
    std::string text; // "1.23 s", "n/a"
};

// Draws everything onto a width x height surface; returns the T30 labels it drew.
std::vector<PlotLabel> drawRoom(cairo_t* cr, int width, int height, const ImpulseResponse& response,
                                const RoomDecay& decay, const std::string& title);

} // namespace TessalineTool
