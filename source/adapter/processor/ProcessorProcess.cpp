// The audio callback: parameter changes, transport information, bypass, events, frame or
// whole-block processing and meters. Nothing here allocates, locks or waits.
#include "adapter/processor/Processor.h"

#include "adapter/realtime/SampleChecks.h"

#include "adapter/realtime/CVSTMidiEventList.h"
#include "adapter/realtime/CVSTParamUpdateQueue.h"
#include "adapter/realtime/DenormalGuard.h"
#include "adapter/realtime/MidiEventDelivery.h"
#include "adapter/parameters/ValueMapping.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
// Usable channel pointers of a bus: none when the bus, its array or a pointer is missing.
uint32_t usableChannels(const AudioBusBuffers* bus, uint32_t wanted)
{
    if (!bus || !bus->channelBuffers32 || bus->numChannels <= 0)
        return 0;
    uint32_t count = std::min(wanted, static_cast<uint32_t>(bus->numChannels));
    for (uint32_t c = 0; c < count; ++c)
        if (!bus->channelBuffers32[c])
            return c;
    return count;
}

} // namespace

bool Processor::resolveChannels(const ProcessData& data, BlockChannels& channels) const
{
    // [audio thread] channel count = min(arrangement, output buffers, 2).
    channels = {{nullptr, nullptr}, {nullptr, nullptr}, 0};
    const int32 arrangement = m_nArrangementChannels.load(std::memory_order_relaxed);
    const uint32_t wanted = static_cast<uint32_t>(std::clamp<int32>(arrangement, 0, 2));
    const AudioBusBuffers* outBus = (data.outputs && data.numOutputs > 0) ? &data.outputs[0] : nullptr;
    channels.count = usableChannels(outBus, wanted);
    if (channels.count == 0)
        return false;
    const AudioBusBuffers* inBus = (data.inputs && data.numInputs > 0) ? &data.inputs[0] : nullptr;
    const bool outputOnly = m_pPlugIn->m_bOutputOnly;
    if (!outputOnly && !inBus)
        return false;
    const uint32_t inCount = outputOnly ? 0 : usableChannels(inBus, channels.count);
    for (uint32_t c = 0; c < channels.count; ++c)
    {
        channels.out[c] = outBus->channelBuffers32[c];
        // A channel the host flags silent reads as zeros, whatever its buffer holds.
        const bool silent = c < inCount && (inBus->silenceFlags & (uint64{1} << c)) != 0;
        channels.in[c] = c < inCount && !silent ? inBus->channelBuffers32[c] : nullptr;
    }
    return true;
}

tresult PLUGIN_API Processor::process(ProcessData& data)
{
    // [audio thread]
    if (!m_pPlugIn)
        return kResultFalse;
    CScopedDenormalFlush flushDenormals;
    takePendingChanges();
    // Changes are applied also in a flush call (no buffers, no samples): none is dropped.
    applyParameterChanges(data);
    BlockChannels channels;
    if (data.numSamples > 0 && resolveChannels(data, channels))
    {
        CHostInfo info;
        double period = 1.0 / std::max<int32_t>(m_pPlugIn->m_nSampleRate, 1);
        sendHostInfo(data, info, period);
        // The output is flagged silent only where the idle path below knows it is.
        data.outputs[0].silenceFlags = 0;
        if (m_bBypass && !m_pPlugIn->m_bOutputOnly)
        {
            bypassBlock(channels, data.numSamples);
            reportMeters(data, true);
        }
        else if (m_pPlugIn->m_bProcessWholeBuffers)
            processWholeBlock(data, channels);
        else
        {
            const bool hasContext = data.processContext != nullptr;
            if (!skipSilentBlock(data, channels, info, hasContext, period))
                processFrames(data, channels, info, hasContext, period);
            reportMeters(data, false);
        }
    }
    // No host pointer outlives the block.
    if (m_pMidiEventList)
        m_pMidiEventList->setHostList(nullptr);
    detachUpdateQueues();
    publishBlockResults();
    return kResultOk;
}

void Processor::detachUpdateQueues()
{
    if (!m_bSampleAccurate || !m_pParamUpdateQueues)
        return;
    for (uint32_t k = 0; k < m_uQueueCount; ++k)
    {
        if (CVSTParamUpdateQueue* queue = m_pParamUpdateQueues[k])
        {
            queue->endBlock();
            if (m_pPlugIn->m_ppControlTable && k < m_pPlugIn->m_nControlCount
                && m_pPlugIn->m_ppControlTable[k])
                m_pPlugIn->m_ppControlTable[k]->pUpdateQueue = nullptr;
        }
    }
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
    if (CControlEntry* control = m_pPlugIn->m_ControlList.controlAt(id))
    {
        const float position = parameterToPosition(*control, value);
        control->pUpdateQueue = nullptr;
        if (m_bSampleAccurate && m_pParamUpdateQueues && id < m_uQueueCount && m_pParamUpdateQueues[id])
        {
            m_pParamUpdateQueues[id]->beginBlock(&queue, numSamples);
            control->pUpdateQueue = m_pParamUpdateQueues[id];
        }
        m_pPlugIn->setControlNormalized(id, position, false);
        return;
    }
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
    case kParamBypass: m_bBypass = value != 0.0; break; // the scan goes on after it
    case kParamFactoryPresets: applyPresetOnAudioThread(presetPositionOf(value)); break;
    default:
        if (id >= kParamPitchBend && id <= kParamAllNotesOff)
            forwardMidiParameter(static_cast<int32>(id), value);
        break;
    }
}

void Processor::sendHostInfo(const ProcessData& data, CHostInfo& info, double& period)
{
    const ProcessContext* context = data.processContext;
    if (!context)
        return;
    info.dTempo = context->tempo;
    info.fTimeSigNumerator = static_cast<float>(context->timeSigNumerator);
    info.uTimeSigDenominator = static_cast<uint32_t>(context->timeSigDenominator);
    // The whole 64-bit project time; a position before the project start counts as 0.
    info.uSamplePos =
        context->projectTimeSamples > 0 ? static_cast<uint64_t>(context->projectTimeSamples) : 0;
    info.dTimeSeconds = static_cast<double>(info.uSamplePos) * period;
    CHostMessage message;
    message.nValueCount = -1;
    message.pHostInfo = &info;
    m_pPlugIn->hostMessage(msgHostInfo, message);
}

void Processor::bypassBlock(const BlockChannels& channels, int32 numSamples)
{
    for (uint32_t c = 0; c < channels.count; ++c)
    {
        float* out = channels.out[c];
        const float* in = channels.in[c];
        for (int32 i = 0; i < numSamples; ++i)
            out[i] = in ? finiteOrZero(in[i]) : 0.0f; // a bypassed NaN is no more welcome
    }
}

void Processor::processWholeBlock(ProcessData& data, const BlockChannels& channels)
{
    if (m_pMidiEventList)
        m_pMidiEventList->setHostList(data.inputEvents);
    if (const uint32_t auxChannels = sidechainChannels(data))
    {
        CAuxInputInfo info;
        info.nVersion = 1;
        info.ppAuxBuffers = data.inputs[1].channelBuffers32;
        info.uAuxChannels = auxChannels;
        info.bAuxValid = true;
        m_pPlugIn->processAuxInput(&info);
    }
    // Missing input channels read silence; the silent buffer bounds the piece handed over.
    const int32 silentCapacity = static_cast<int32>(m_SilentInput.size() / 2);
    const bool needSilence = !channels.in[0] || (channels.count == 2 && !channels.in[1]);
    const int32 piece = needSilence ? silentCapacity : data.numSamples;
    if (piece <= 0)
        return;
    for (int32 start = 0; start < data.numSamples; start += piece)
    {
        const int32 frames = std::min(piece, data.numSamples - start);
        float* in[2];
        float* out[2];
        for (uint32_t c = 0; c < 2; ++c)
        {
            float* silent = m_SilentInput.empty() ? nullptr : m_SilentInput.data() + c * silentCapacity;
            in[c] = c < channels.count && channels.in[c] ? channels.in[c] + start : silent;
            out[c] = c < channels.count ? channels.out[c] + start : nullptr;
        }
        m_pPlugIn->processBuffers(in, out, channels.count, static_cast<uint32_t>(frames));
    }
    reportMeters(data, true);
}

uint32_t Processor::sidechainChannels(const ProcessData& data)
{
    // [audio thread] Looked up once per block: the bus and its activation do not change within it.
    if (!m_bHasSidechain || data.numInputs < 2 || !data.inputs)
        return 0;
    const Bus* bus = getBus(kAudio, kInput, 1);
    if (!bus || !bus->isActive())
        return 0;
    return usableChannels(&data.inputs[1], 2);
}

void Processor::feedSidechainFrame(float* const* aux, uint32_t auxChannels, int32 frame, float* auxFrame)
{
    auxFrame[0] = aux[0][frame];
    auxFrame[1] = auxChannels == 2 ? aux[1][frame] : 0.0f;
    CAuxInputInfo info;
    info.nVersion = 1;
    info.pAuxFrame = auxFrame;
    info.uAuxChannels = auxChannels;
    info.bAuxValid = true;
    m_pPlugIn->processAuxInput(&info);
}

void Processor::processFrames(ProcessData& data, const BlockChannels& channels, CHostInfo& info,
                              bool hasContext, double period)
{
    IEventList* events = data.inputEvents;
    if (m_pMidiEventList)
        m_pMidiEventList->setHostList(events);
    const int32 eventCount = events ? events->getEventCount() : 0;
    int32 nextEvent = 0;
    Event event = {};
    bool pending = false;
    auto fetch = [&]() {
        // Events the host refuses to hand out are passed over.
        pending = false;
        while (!pending && nextEvent < eventCount)
            pending = events->getEvent(nextEvent++, event) == kResultOk;
    };
    fetch();
    float inFrame[2] = {0.0f, 0.0f};
    float outFrame[2] = {0.0f, 0.0f};
    float auxFrame[2] = {0.0f, 0.0f};
    const uint32_t auxChannels = sidechainChannels(data);
    float* const* aux = auxChannels > 0 ? data.inputs[1].channelBuffers32 : nullptr;
    CHostMessage message;
    message.nValueCount = -1;
    message.pHostInfo = hasContext ? &info : nullptr;
    const int32 last = data.numSamples - 1;
    for (int32 i = 0; i <= last; ++i)
    {
        if (aux)
            feedSidechainFrame(aux, auxChannels, i, auxFrame);
        // An event is due at the first frame at or after its offset; out-of-order events and
        // those beyond the block arrive no later than the last frame.
        while (pending && (event.sampleOffset <= i || i == last))
        {
            handleEvent(event);
            fetch();
        }
        for (uint32_t c = 0; c < channels.count; ++c)
            inFrame[c] = channels.in[c] ? finiteOrZero(channels.in[c][i]) : 0.0f;
        m_pPlugIn->processFrame(inFrame, outFrame, channels.count, channels.count);
        for (uint32_t c = 0; c < channels.count; ++c)
            channels.out[c][i] = outFrame[c];
        if (hasContext)
        {
            ++info.uSamplePos;
            info.dTimeSeconds = static_cast<double>(info.uSamplePos) * period;
            m_pPlugIn->hostMessage(msgHostInfo, message);
        }
    }
}

// [audio thread] A block of silent input offered to the effect as a whole: when it stands in
// for the block, the output is zeros flagged silent and the effect's processing never runs.
// Blocks with events or side-chain input go frame by frame, as they may change its state.
bool Processor::skipSilentBlock(ProcessData& data, const BlockChannels& channels, CHostInfo& info,
                                bool hasContext, double period)
{
    if (sidechainChannels(data) > 0 || (data.inputEvents && data.inputEvents->getEventCount() > 0))
        return false;
    for (uint32_t c = 0; c < channels.count; ++c)
    {
        if (channels.in[c] && !readsAsSilence(channels.in[c], data.numSamples))
            return false;
    }
    if (!m_pPlugIn->skipSilentFrames(static_cast<uint32_t>(data.numSamples), channels.count))
        return false;
    for (uint32_t c = 0; c < channels.count; ++c)
        std::fill(channels.out[c], channels.out[c] + data.numSamples, 0.0f);
    data.outputs[0].silenceFlags = (uint64{1} << channels.count) - 1;
    if (hasContext)
    {
        // Where the frame path leaves the transport: past the block's last frame.
        info.uSamplePos += static_cast<uint64_t>(data.numSamples);
        info.dTimeSeconds = static_cast<double>(info.uSamplePos) * period;
        CHostMessage message;
        message.nValueCount = -1;
        message.pHostInfo = &info;
        m_pPlugIn->hostMessage(msgHostInfo, message);
    }
    return true;
}

void Processor::handleEvent(const Event& event)
{
    deliverMidiEvent(*m_pPlugIn, event, MidiDelivery::kNotesAndRaw);
}

void Processor::reportMeters(ProcessData& data, bool zero)
{
    if (!data.outputParameterChanges)
        return;
    for (size_t k = 0; k < m_MeterParamIds.size(); ++k)
    {
        const int32 id = m_MeterParamIds[k];
        const CControlEntry* control = m_pPlugIn->m_ControlList.controlAt(static_cast<uint32_t>(id));
        if (!control || !control->pMeterVar)
            continue;
        int32 index = 0;
        IParamValueQueue* queue =
            data.outputParameterChanges->addParameterData(static_cast<ParamID>(id), index);
        if (!queue)
            continue;
        const double value = zero ? 0.0 : static_cast<double>(*control->pMeterVar);
        queue->addPoint(static_cast<int32>(k), value, index);
    }
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
