// Raw MIDI messages from the plug-in's atom input, delivered to the DSP object the way the VST3
// path delivers them: notes as notes; the controllers the VST3 path maps to its MIDI parameters
// (pitch bend, modulation, volume, pan, expression, sustain, channel pressure, all notes off)
// through the same calls with the same value (the data as a 0 .. 1 value, see
// MidiControllerCalls.h); a controller a control claims moves that control.
#pragma once

#include "core/CPlugIn.h"

#include <cstdint>

namespace TessalineLv2 {

// [audio thread] Ignores anything shorter than its status needs.
void deliverMidiMessage(CPlugIn& plugIn, const uint8_t* message, uint32_t size);

} // namespace TessalineLv2
