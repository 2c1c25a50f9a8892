#pragma once
// Images and a description written for the toolkit tests into the build tree: a filmstrip
// whose frame k is filled with frameColor(k), a two-frame switch, a texture, and a uidesc
// binding them to the test controller's parameters.

#include "vstgui/lib/ccolor.h"

#include <string>

namespace TestAssets {

// Folder in the build tree that holds the assets and the pictures the tests save.
const std::string& directory();
// Writes everything once; returns directory ().
const std::string& prepare();

VSTGUI::CColor frameColor(int frame);
const VSTGUI::CColor kSwitchOff{20, 200, 20, 255};
const VSTGUI::CColor kSwitchOn{200, 20, 20, 255};

// The description text (also written as "test.uidesc").
std::string descriptionText();

// Editor geometry of the views in the description (frame coordinates).
namespace Geometry {
constexpr double kKnobCenterX = 60, kKnobCenterY = 61;      // "Gain" knob 39,40 to 81,82
constexpr double kSwitchCenterX = 141, kSwitchCenterY = 61; // "Decay" switch 120,40 to 162,82
constexpr double kMenuX = 40, kMenuY = 110;                 // "Position" menu 20,100 to 62,120
constexpr double kEditX = 140, kEditY = 110;                // "Gain" text edit 110,100 to 170,120
} // namespace Geometry

} // namespace TestAssets
