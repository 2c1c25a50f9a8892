// The audio callback: the hand-off's changes, the block's parameter changes (controls through
// the processing path, bypass, joystick, buttons, program changes and MIDI parameters here), then
// the block itself on the processing path. Nothing here allocates, locks or waits.
#include "adapter/processor/Processor.h"

#include "adapter/realtime/DenormalGuard.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

tresult PLUGIN_API Processor::process(ProcessData& data)
{
    // [audio thread]
    if (!m_pPlugIn)
        return kResultFalse;
    CScopedDenormalFlush flushDenormals;
    takePendingChanges();
    // The bypass as the block starts; a bypass queue of the block moves it at its points' offsets.
    const bool bypassAtStart = m_bBypass;
    m_pBypassQueue = nullptr;
    // Changes are applied also in a flush call (no buffers, no samples): none is dropped.
    applyParameterChanges(data);
    CProcessingPath::BlockChannels channels;
    if (data.numSamples > 0 && m_Path.resolveChannels(data, channels))
        m_Path.runBlock(data, channels, bypassAtStart, m_pBypassQueue, sidechainChannels(data),
                        m_MeterParamIds);
    m_pBypassQueue = nullptr;
    m_Path.endBlock();
    publishBlockResults();
    return kResultOk;
}

void Processor::applyParameterChanges(ProcessData& data)
{
    // [audio thread] The last value of every queue; empty or unreadable queues are skipped.
    IParameterChanges* changes = data.inputParameterChanges;
    if (!changes)
        return;
    // A program change comes first: the block's other changes are made on top of the preset.
    const int32 count = changes->getParameterCount();
    for (int32 pass = 0; pass < 2; ++pass)
    {
        for (int32 q = 0; q < count; ++q)
        {
            IParamValueQueue* queue = changes->getParameterData(q);
            if (queue && (queue->getParameterId() == kParamFactoryPresets) == (pass == 0))
                applyLastValue(*queue, std::max<int32>(data.numSamples, 0));
        }
    }
}

void Processor::applyLastValue(IParamValueQueue& queue, int32 numSamples)
{
    const int32 points = queue.getPointCount();
    int32 offset = 0;
    ParamValue value = 0.0;
    if (points <= 0 || queue.getPoint(points - 1, offset, value) != kResultOk || std::isnan(value))
        return;
    applyParameterChange(queue, queue.getParameterId(), std::clamp(value, 0.0, 1.0), numSamples);
}

void Processor::applyParameterChange(IParamValueQueue& queue, ParamID id, ParamValue value, int32 numSamples)
{
    assert(value >= 0.0 && value <= 1.0 && numSamples >= 0);
    if (m_Path.applyControlChange(queue, id, value, numSamples))
        return;
    switch (id)
    {
    case kParamButton1: m_pPlugIn->controlChanged(kButton1ControlId); break;
    case kParamButton2: m_pPlugIn->controlChanged(kButton2ControlId); break;
    case kParamButton3: m_pPlugIn->controlChanged(kButton3ControlId); break;
    case kParamJoystickX:
        m_dJoystickX = value;
        m_pPlugIn->setJoystickX(static_cast<float>(2.0 * value - 1.0), true);
        break;
    case kParamJoystickY:
        m_dJoystickY = value;
        m_pPlugIn->setJoystickY(static_cast<float>(2.0 * value - 1.0), true);
        break;
    case kParamBypass: // the scan goes on after it
        m_bBypass = value != 0.0;
        m_pBypassQueue = &queue;
        break;
    case kParamFactoryPresets: applyPresetOnAudioThread(presetPositionOf(value)); break;
    default:
        if (id >= kParamPitchBend && id <= kParamAllNotesOff)
            forwardMidiParameter(static_cast<int32>(id), value);
        break;
    }
}

uint32_t Processor::sidechainChannels(const ProcessData& data)
{
    // [audio thread] Looked up once per block: the bus and its activation do not change within it.
    if (!m_bHasSidechain || data.numInputs < 2 || !data.inputs)
        return 0;
    const Bus* bus = getBus(kAudio, kInput, 1);
    if (!bus || !bus->isActive())
        return 0;
    return CProcessingPath::usableChannels(&data.inputs[1], 2);
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
