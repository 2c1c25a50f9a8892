// The factory presets of a DSP object as plain values: which slot a host's preset list position
// names, and the control values and joystick position that slot sets. Format-neutral: the VST3
// Processor and the LV2 plug-in (and its turtle generator) read the presets through these.
#pragma once

#include "core/CPlugIn.h"

#include <cstdint>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

// The slot of the listPosition-th named preset (the list holds named slots only), or -1.
int32_t factoryPresetSlot(const CPlugIn& plugIn, int32_t listPosition);

// [any thread, no allocation] Writes slot `slot`'s plain value of each of the first `count`
// controls into values[k] (NaN where no control is), and its joystick position (-1 .. 1, NaN
// when not finite) into joystickX and joystickY.
void factoryPresetValues(const CPlugIn& plugIn, int32_t slot, float* values, uint32_t count, float& joystickX,
                         float& joystickY);

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
