// The MIDI controllers both plug-in formats map to the DSP object's MIDI calls (the VST3
// Processor through its MIDI parameters, the LV2 plug-in from its MIDI input), and the call each
// one makes for a value, so that the same controller value reaches the DSP object the same way.
#pragma once

#include "core/CPlugIn.h"

#include <cstdint>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

enum class MidiController
{
    kNone,
    kPitchBend,
    kModWheel,
    kVolume,
    kPan,
    kExpression,
    kSustain,
    kChannelPressure,
    kAllNotesOff,
};

// The controller a control-change number stands for (kNone for the others).
MidiController controllerOfNumber(uint8_t number);

// [audio thread] The DSP object's call for `value` in 0 .. 1 (outside values and NaN are held
// inside), on channel 0.
void sendMidiController(CPlugIn& plugIn, MidiController controller, double value);

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
