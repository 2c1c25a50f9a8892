#include "adapter/realtime/MidiEventDelivery.h"

#include "core/MidiProtocol.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
using Midi::sevenBit;

uint32_t channelOf(int16 channel) { return static_cast<uint32_t>(static_cast<uint16>(channel)); }

void deliverRawMessage(CPlugIn& plugIn, const Event& event)
{
    // The chord fields carry the message: root = channel, bass note = status, mask = data 1,
    // text length = data 2.
    const uint32_t channel = channelOf(event.chord.root);
    const int32 status = event.chord.bassNote;
    const int32 data1 = event.chord.mask;
    const int32 data2 = static_cast<int32>(event.chord.textLen);
    if (status == Midi::kControlChange && data1 == Midi::kModWheel)
        plugIn.midiModWheel(channel, static_cast<uint32_t>(data2));
    else if (status == Midi::kControlChange && data1 == Midi::kAllNotesOff)
        plugIn.midiNoteOff(channel, 0, 0, true);
    else if (status == Midi::kTimingClock)
        plugIn.midiClock();
    else if (status == Midi::kPitchBend)
    {
        const int32_t value = Midi::pitchBendValue(data1, data2);
        const int32_t clipped = value == -Midi::kPitchBendCentre ? -Midi::kPitchBendRange : value;
        plugIn.midiPitchBend(channel, value,
                             static_cast<float>(clipped) / static_cast<float>(Midi::kPitchBendRange));
    }
    else if (plugIn.m_bWantMidiMessages)
        plugIn.midiMessage(static_cast<uint8_t>(channel), static_cast<uint8_t>(status),
                           static_cast<uint8_t>(data1), static_cast<uint8_t>(data2));
}
} // namespace

bool isRawMidiChord(const Event& event)
{
    static const char16 kTag[] = {'T', 'O', 'V', 'U', 'M', 'I', 'D', 'I', 0};
    if (event.type != Event::kChordEvent || event.chord.text == nullptr)
        return false;
    // Compared as a terminated string: the length field carries data, not the length.
    for (int i = 0; i < 9; ++i)
        if (event.chord.text[i] != kTag[i])
            return false;
    return true;
}

bool deliverMidiEvent(CPlugIn& plugIn, const Event& event, MidiDelivery what)
{
    switch (event.type)
    {
    case Event::kNoteOnEvent:
        plugIn.midiNoteOn(channelOf(event.noteOn.channel), static_cast<uint32_t>(event.noteOn.pitch),
                          sevenBit(event.noteOn.velocity));
        return true;
    case Event::kNoteOffEvent:
        plugIn.midiNoteOff(channelOf(event.noteOff.channel), static_cast<uint32_t>(event.noteOff.pitch),
                           sevenBit(event.noteOff.velocity), false);
        return true;
    case Event::kPolyPressureEvent:
        plugIn.midiMessage(static_cast<uint8_t>(event.polyPressure.channel), Midi::kPolyPressure,
                           static_cast<uint8_t>(event.polyPressure.pitch),
                           sevenBit(event.polyPressure.pressure));
        return true;
    case Event::kChordEvent:
        if (what == MidiDelivery::kNotesAndRaw && isRawMidiChord(event))
            deliverRawMessage(plugIn, event);
        return false;
    default: return false;
    }
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
