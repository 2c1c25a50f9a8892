// The panel's artwork, each drawn at a whole-number scale (1 for the plain file, 2 for HiDPI).
#pragma once

#include "ArtCanvas.h"

#include <memory>

namespace artgen {

// 512 x 512 points of horizontally brushed steel, slightly translucent.
std::unique_ptr<ArtCanvas> drawGreyMetal(int scale);

// Colours of one chicken-head knob: body, its highlight, and the pointer inlay.
struct KnobColours
{
    double body[3];
    double highlight[3];
    double pointer[3];
};
extern const KnobColours kBlackBakelite; // "chickenhead3"
extern const KnobColours kIvoryBakelite; // "chickenhead2"

// A 42 x 3360 filmstrip: 80 frames of 42 x 42, the pointer turning clockwise through 270 degrees
// from 135 degrees (down-left) to 45 degrees (down-right), measured clockwise from the right.
std::unique_ptr<ArtCanvas> drawChickenHeadStrip(const KnobColours& colours, int scale);

// A 42 x 84 strip of a bat-handle toggle switch: frame 0 lever up, frame 1 lever down.
std::unique_ptr<ArtCanvas> drawToggleSwitchStrip(int scale);

} // namespace artgen
