#include "lv2/Lv2MidiInput.h"

#include "adapter/parameters/ValueMapping.h"
#include "core/MidiProtocol.h"

namespace TessalineLv2 {

namespace {
constexpr uint32_t kChannel = 0;
constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kNoteOn = 0x90;
// Controller numbers the VST3 path maps to its MIDI parameters.
constexpr uint8_t kVolume = 7;
constexpr uint8_t kPan = 10;
constexpr uint8_t kExpression = 11;
constexpr uint8_t kSustain = 64;

void controlChange(CPlugIn& plugIn, uint8_t controller, uint8_t value)
{
    switch (controller)
    {
    case Midi::kModWheel: plugIn.midiModWheel(kChannel, value); return;
    case kVolume:
    case kPan:
    case kExpression: plugIn.midiMessage(kChannel, controller, value, 0); return;
    case kSustain: plugIn.midiMessage(kChannel, kSustain, value >= 64 ? Midi::kMaxDataByte : 0, 0); return;
    case Midi::kAllNotesOff: plugIn.midiNoteOff(kChannel, 0, 0, true); return;
    default: break;
    }
    // Any other controller: the last control claiming it takes the value.
    int32_t claimant = -1;
    const uint32_t count = plugIn.m_ControlList.controlCount();
    for (uint32_t k = 0; k < count; ++k)
    {
        const CControlEntry* control = plugIn.m_ControlList.controlAt(k);
        if (control && control->bMidiControl && control->nMidiController == controller)
            claimant = static_cast<int32_t>(k);
    }
    if (claimant < 0)
        return;
    const CControlEntry& control = *plugIn.m_ControlList.controlAt(static_cast<uint32_t>(claimant));
    const double normalized = static_cast<double>(value) / Midi::kMaxDataByte;
    plugIn.setControlNormalized(static_cast<uint32_t>(claimant),
                                Steinberg::Vst::Vava2DUZ3::parameterToPosition(control, normalized), false);
}
} // namespace

void deliverMidiMessage(CPlugIn& plugIn, const uint8_t* message, uint32_t size)
{
    if (!message || size == 0)
        return;
    const uint8_t status = message[0];
    if (status == Midi::kTimingClock)
    {
        plugIn.midiClock();
        return;
    }
    const uint8_t kind = status & 0xf0;
    const uint32_t channel = status & 0x0f;
    const uint8_t data1 = size > 1 ? (message[1] & Midi::kMaxDataByte) : 0;
    const uint8_t data2 = size > 2 ? (message[2] & Midi::kMaxDataByte) : 0;
    const uint32_t needed = kind == Midi::kChannelPressure ? 2u : 3u;
    if (size < needed || status < 0x80 || status >= 0xf0)
        return;
    switch (kind)
    {
    case kNoteOn:
        if (data2 == 0)
            plugIn.midiNoteOff(channel, data1, 0, false);
        else
            plugIn.midiNoteOn(channel, data1, data2);
        break;
    case kNoteOff: plugIn.midiNoteOff(channel, data1, data2, false); break;
    case Midi::kPolyPressure: plugIn.midiMessage(static_cast<uint8_t>(channel), Midi::kPolyPressure, data1, data2); break;
    case Midi::kControlChange: controlChange(plugIn, data1, data2); break;
    case Midi::kChannelPressure: plugIn.midiMessage(kChannel, Midi::kChannelPressure, data1, 0); break;
    case Midi::kPitchBend:
    {
        const int32_t bend = Midi::pitchBendValue(data1, data2);
        const int32_t clipped = bend == -Midi::kPitchBendCentre ? -Midi::kPitchBendRange : bend;
        plugIn.midiPitchBend(kChannel, bend, static_cast<float>(clipped) / static_cast<float>(Midi::kPitchBendRange));
        break;
    }
    default: break;
    }
}

} // namespace TessalineLv2
