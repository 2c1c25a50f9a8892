// IMidiMapping: common MIDI controllers map to pseudo-parameters, others to claiming controls.
#include "adapter/processor/Processor.h"

#include "adapter/realtime/MidiControllerCalls.h"
#include "pluginterfaces/vst/ivstmidicontrollers.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
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
    MidiController controller = MidiController::kNone;
    switch (id)
    {
    case kParamPitchBend: controller = MidiController::kPitchBend; break;
    case kParamModWheel: controller = MidiController::kModWheel; break;
    case kParamMidiVol: controller = MidiController::kVolume; break;
    case kParamMidiPan: controller = MidiController::kPan; break;
    case kParamMidiExpression: controller = MidiController::kExpression; break;
    case kParamSustainPedal: controller = MidiController::kSustain; break;
    case kParamChannelPressure: controller = MidiController::kChannelPressure; break;
    case kParamAllNotesOff: controller = MidiController::kAllNotesOff; break;
    default: break;
    }
    sendMidiController(*m_pPlugIn, controller, value);
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
