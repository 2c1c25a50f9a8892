#include "adapter/realtime/MidiEventDelivery.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
// A 0 .. 1 host value as a 7-bit MIDI value; out-of-range and NaN values stay inside 0 .. 127.
uint32_t sevenBit(float value)
{
    if (!(value > 0.0f))
        return 0;
    if (value >= 1.0f)
        return 127;
    return static_cast<uint32_t>(value * 127.0f);
}

uint32_t channelOf(int16 channel)
{
    return static_cast<uint32_t>(static_cast<uint16>(channel));
}

void deliverRawMessage(CPlugIn& plugIn, const Event& event)
{
    // The chord fields carry the message: root = channel, bass note = status, mask = data 1,
    // text length = data 2.
    const uint32_t channel = channelOf(event.chord.root);
    const int32 status = event.chord.bassNote;
    const int32 data1 = event.chord.mask;
    const int32 data2 = static_cast<int32>(event.chord.textLen);
    if (status == 176 && data1 == 1)
        plugIn.midiModWheel(channel, static_cast<uint32_t>(data2));
    else if (status == 176 && data1 == 123)
        plugIn.midiNoteOff(channel, 0, 0, true);
    else if (status == 248)
        plugIn.midiClock();
    else if (status == 224)
    {
        const int32_t value = ((data2 & 127) * 128 + (data1 & 127)) - 8192;
        const int32_t clipped = value == -8192 ? -8191 : value;
        plugIn.midiPitchBend(channel, value, static_cast<float>(clipped) / 8191.0f);
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
        plugIn.midiNoteOff(channelOf(event.noteOff.channel),
                           static_cast<uint32_t>(event.noteOff.pitch),
                           sevenBit(event.noteOff.velocity), false);
        return true;
    case Event::kPolyPressureEvent:
        plugIn.midiMessage(static_cast<uint8_t>(event.polyPressure.channel), 160,
                           static_cast<uint8_t>(event.polyPressure.pitch),
                           static_cast<uint8_t>(sevenBit(event.polyPressure.pressure)));
        return true;
    case Event::kChordEvent:
        if (what == MidiDelivery::kNotesAndRaw && isRawMidiChord(event))
            deliverRawMessage(plugIn, event);
        return false;
    default:
        return false;
    }
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
