#include "adapter/realtime/MidiControllerCalls.h"

#include "core/MidiProtocol.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
constexpr uint32_t kMidiChannel = 0;
// Controller numbers beside those MidiProtocol.h names.
constexpr uint8_t kVolume = 7;
constexpr uint8_t kPan = 10;
constexpr uint8_t kExpression = 11;
constexpr uint8_t kSustain = 64;
} // namespace

MidiController controllerOfNumber(uint8_t number)
{
    switch (number)
    {
    case Midi::kModWheel: return MidiController::kModWheel;
    case kVolume: return MidiController::kVolume;
    case kPan: return MidiController::kPan;
    case kExpression: return MidiController::kExpression;
    case kSustain: return MidiController::kSustain;
    case Midi::kAllNotesOff: return MidiController::kAllNotesOff;
    default: return MidiController::kNone;
    }
}

void sendMidiController(CPlugIn& plugIn, MidiController controller, double value)
{
    // Values outside 0 .. 1 (or NaN) would make the integer conversions undefined.
    if (!(value >= 0.0))
        value = 0.0;
    else if (value > 1.0)
        value = 1.0;
    const auto level = static_cast<float>(value);
    switch (controller)
    {
    case MidiController::kPitchBend:
    {
        const double x = 2.0 * value - 1.0;
        const int32_t bend = x == -1.0 ? -Midi::kPitchBendCentre
                                       : static_cast<int32_t>(x * static_cast<double>(Midi::kPitchBendRange));
        plugIn.midiPitchBend(kMidiChannel, bend, static_cast<float>(x));
        break;
    }
    case MidiController::kModWheel: plugIn.midiModWheel(kMidiChannel, Midi::sevenBit(level)); break;
    case MidiController::kVolume: plugIn.midiMessage(kMidiChannel, kVolume, Midi::sevenBit(level), 0); break;
    case MidiController::kPan: plugIn.midiMessage(kMidiChannel, kPan, Midi::sevenBit(level), 0); break;
    case MidiController::kExpression:
        plugIn.midiMessage(kMidiChannel, kExpression, Midi::sevenBit(level), 0);
        break;
    case MidiController::kSustain:
        plugIn.midiMessage(kMidiChannel, kSustain, value > 0.5 ? Midi::kMaxDataByte : 0, 0);
        break;
    case MidiController::kChannelPressure:
        plugIn.midiMessage(kMidiChannel, Midi::kChannelPressure, Midi::sevenBit(level), 0);
        break;
    case MidiController::kAllNotesOff:
        // Any movement silences everything, whatever the value.
        plugIn.midiNoteOff(kMidiChannel, 0, 0, true);
        break;
    case MidiController::kNone: break;
    }
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
