// The host parameter ids beside the control positions, and the unit ids, as plain integers.
#pragma once

#include "core/PlugInTypes.h"

#include <cstdint>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

// The same numbers in every plug-in format and in saved states.
enum ProcessorParamId : uint32_t
{
    kParamPitchBend = 0x800,
    kParamModWheel = 0x801,
    kParamMidiVol = 0x802,
    kParamMidiPan = 0x803,
    kParamMidiExpression = 0x804,
    kParamSustainPedal = 0x805,
    kParamChannelPressure = 0x806,
    kParamAllNotesOff = 0x807,
    kParamBypass = 0x808,
    kParamButton1 = 0x8000,
    kParamButton2 = 0x8001,
    kParamButton3 = 0x8002,
    kParamJoystickX = kJoystickXControlId,
    kParamJoystickY = kJoystickYControlId,
    kParamFactoryPresets = 0x70727374, // 'prst'
};

// Unit ids: the preset unit is 0 (the unit every parameter belongs to), the root unit 1.
constexpr int32_t kPresetsUnitId = 0;
constexpr int32_t kRootUnitIdOfProcessor = 1;
// A unit without a program list.
constexpr int32_t kNoProgramList = -1;

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
