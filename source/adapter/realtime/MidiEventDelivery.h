// Turns one VST3 event into the DSP object's MIDI operations.
#pragma once

#include "core/CPlugIn.h"
#include "pluginterfaces/vst/ivstevents.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

enum class MidiDelivery
{
    kNotesOnly,   // note-on, note-off and polyphonic pressure; everything else passed over
    kNotesAndRaw, // also raw MIDI messages carried by "TOVUMIDI" chord events
};

// [audio thread] Delivers the event; true when it was a note-on, note-off or polyphonic pressure.
bool deliverMidiEvent(CPlugIn& plugIn, const Event& event, MidiDelivery what);

// True when a chord event carries a raw MIDI message (its text is the terminated "TOVUMIDI").
bool isRawMidiChord(const Event& event);

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
