// IMidiMapping: common MIDI controllers map to pseudo-parameters, others to claiming controls.
#include "adapter/processor/Processor.h"

#include "core/MidiProtocol.h"
#include "pluginterfaces/vst/ivstmidicontrollers.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
constexpr uint32_t kMidiChannel = 0;

// The pseudo-parameter answering a common controller, or 0 for none.
ParamID pseudoParameterFor(CtrlNumber controller)
{
    switch (controller)
    {
    case kPitchBend: return kParamPitchBend;
    case kCtrlModWheel: return kParamModWheel;
    case kCtrlVolume: return kParamMidiVol;
    case kCtrlPan: return kParamMidiPan;
    case kCtrlExpression: return kParamMidiExpression;
    case kCtrlSustainOnOff: return kParamSustainPedal;
    case kAfterTouch: return kParamChannelPressure;
    case kCtrlAllNotesOff: return kParamAllNotesOff;
    default: return 0;
    }
}
} // namespace

tresult PLUGIN_API Processor::getMidiControllerAssignment(int32 busIndex, int16 /*channel*/,
                                                          CtrlNumber midiControllerNumber, ParamID& id)
{
    // [main thread]
    if (!m_pPlugIn || busIndex != 0)
        return kResultFalse;
    id = static_cast<ParamID>(-1);
    if (const ParamID pseudo = pseudoParameterFor(midiControllerNumber))
    {
        id = pseudo;
        return kResultOk;
    }
    // Any other controller: the last control claiming it wins.
    bool claimed = false;
    const uint32_t count = m_pPlugIn->m_ControlList.controlCount();
    for (uint32_t i = 0; i < count; ++i)
    {
        const CControlEntry* control = m_pPlugIn->m_ControlList.controlAt(i);
        if (control && control->bMidiControl && control->nMidiController == midiControllerNumber)
        {
            id = i;
            claimed = true;
        }
    }
    if (!claimed)
    {
        id = 0;
        return kResultFalse;
    }
    return kResultOk;
}

void Processor::forwardMidiParameter(int32 id, double value)
{
    // [audio thread] Called from the processing path with the last value of the host queue.
    if (!m_pPlugIn)
        return;
    // Host values outside 0 .. 1 (or NaN) would make the integer conversions undefined.
    if (!(value >= 0.0))
        value = 0.0;
    else if (value > 1.0)
        value = 1.0;
    const auto level = static_cast<float>(value);
    switch (id)
    {
    case kParamPitchBend:
    {
        const double x = 2.0 * value - 1.0;
        const int32_t bend = x == -1.0 ? -Midi::kPitchBendCentre
                                       : static_cast<int32_t>(x * static_cast<double>(Midi::kPitchBendRange));
        m_pPlugIn->midiPitchBend(kMidiChannel, bend, static_cast<float>(x));
        break;
    }
    case kParamModWheel: m_pPlugIn->midiModWheel(kMidiChannel, Midi::sevenBit(level)); break;
    case kParamMidiVol: m_pPlugIn->midiMessage(kMidiChannel, kCtrlVolume, Midi::sevenBit(level), 0); break;
    case kParamMidiPan: m_pPlugIn->midiMessage(kMidiChannel, kCtrlPan, Midi::sevenBit(level), 0); break;
    case kParamMidiExpression:
        m_pPlugIn->midiMessage(kMidiChannel, kCtrlExpression, Midi::sevenBit(level), 0);
        break;
    case kParamSustainPedal:
        m_pPlugIn->midiMessage(kMidiChannel, kCtrlSustainOnOff, value > 0.5 ? Midi::kMaxDataByte : 0, 0);
        break;
    case kParamChannelPressure:
        m_pPlugIn->midiMessage(kMidiChannel, Midi::kChannelPressure, Midi::sevenBit(level), 0);
        break;
    case kParamAllNotesOff:
        // Any movement of the parameter silences everything, whatever its value.
        m_pPlugIn->midiNoteOff(kMidiChannel, 0, 0, true);
        break;
    default: break;
    }
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
