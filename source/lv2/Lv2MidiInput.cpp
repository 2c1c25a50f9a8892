#include "lv2/Lv2MidiInput.h"

#include "adapter/parameters/ValueMapping.h"
#include "adapter/realtime/MidiControllerCalls.h"
#include "core/MidiProtocol.h"

namespace TessalineLv2 {

namespace {
using namespace Steinberg::Vst::Vava2DUZ3;

constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kNoteOn = 0x90;

void controlChange(CPlugIn& plugIn, uint8_t number, uint8_t value)
{
    const double normalized = static_cast<double>(value) / Midi::kMaxDataByte;
    if (const MidiController controller = controllerOfNumber(number); controller != MidiController::kNone)
    {
        sendMidiController(plugIn, controller, normalized);
        return;
    }
    // Any other controller: the last control claiming it takes the value, as the VST3 path's
    // controller assignment has it.
    int32_t claimant = -1;
    const uint32_t count = plugIn.m_ControlList.controlCount();
    for (uint32_t k = 0; k < count; ++k)
    {
        const CControlEntry* control = plugIn.m_ControlList.controlAt(k);
        if (control && control->bMidiControl && control->nMidiController == number)
            claimant = static_cast<int32_t>(k);
    }
    if (claimant < 0)
        return;
    const CControlEntry& control = *plugIn.m_ControlList.controlAt(static_cast<uint32_t>(claimant));
    plugIn.setControlNormalized(static_cast<uint32_t>(claimant), parameterToPosition(control, normalized),
                                false);
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
    case Midi::kPolyPressure:
        plugIn.midiMessage(static_cast<uint8_t>(channel), Midi::kPolyPressure, data1, data2);
        break;
    case Midi::kControlChange: controlChange(plugIn, data1, data2); break;
    case Midi::kChannelPressure:
        sendMidiController(plugIn, MidiController::kChannelPressure,
                           static_cast<double>(data1) / Midi::kMaxDataByte);
        break;
    case Midi::kPitchBend:
    {
        // The 14-bit value as the VST3 path's pitch-bend parameter carries it: 0 .. 1.
        const int32_t bend = Midi::pitchBendValue(data1, data2) + Midi::kPitchBendCentre;
        sendMidiController(plugIn, MidiController::kPitchBend, static_cast<double>(bend) / 16383.0);
        break;
    }
    default: break;
    }
}

} // namespace TessalineLv2
