#include "adapter/processor/ProcessingPath.h"

#include "adapter/parameters/ValueMapping.h"
#include "adapter/realtime/CVSTMidiEventList.h"
#include "adapter/realtime/CVSTParamUpdateQueue.h"
#include "adapter/realtime/MidiEventDelivery.h"
#include "adapter/realtime/SampleChecks.h"

#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

uint32_t CProcessingPath::usableChannels(const AudioBusBuffers* bus, uint32_t wanted)
{
    if (!bus || !bus->channelBuffers32 || bus->numChannels <= 0)
        return 0;
    uint32_t count = std::min(wanted, static_cast<uint32_t>(bus->numChannels));
    for (uint32_t c = 0; c < count; ++c)
        if (!bus->channelBuffers32[c])
            return c;
    return count;
}

CProcessingPath::CProcessingPath() = default;

CProcessingPath::~CProcessingPath()
{
    // The owner takes the objects back while its DSP object still lives.
    assert(!m_pMidiEventList && m_UpdateQueues.empty() && "processing objects still handed to a DSP object");
}

void CProcessingPath::attach(CPlugIn& plugIn)
{
    assert(!m_pMidiEventList && "a DSP object replaced under its processing objects");
    m_pPlugIn = &plugIn;
    m_bSampleAccurate = plugIn.m_bWantSampleAccurate != 0;
    m_nUpdateInterval = plugIn.m_nUpdateInterval;
}

void CProcessingPath::createObjects()
{
    // [main thread] A repeated initialize replaces what a previous one left.
    assert(m_pPlugIn && "processing objects made before a DSP object was attached");
    releaseObjects();
    CPlugIn& plugIn = *m_pPlugIn;
    m_pMidiEventList = std::make_unique<CVSTMidiEventList>(&plugIn);
    CHostMessage message;
    message.pMidiEvents = m_pMidiEventList.get();
    plugIn.hostMessage(msgMidiEventList, message);
    if (!m_bSampleAccurate)
        return;
    const uint32_t count = plugIn.m_ControlList.controlCount();
    m_UpdateQueues.resize(count);
    for (uint32_t i = 0; i < count; ++i)
        if (plugIn.m_ControlList.controlAt(i))
            m_UpdateQueues[i] = std::make_unique<CVSTParamUpdateQueue>(&m_nUpdateInterval);
}

void CProcessingPath::releaseObjects()
{
    if (!m_pPlugIn)
        return;
    for (uint32_t i = 0; i < m_UpdateQueues.size(); ++i)
        if (CControlEntry* control = m_pPlugIn->m_ControlList.controlAt(i))
            control->pUpdateQueue = nullptr;
    m_UpdateQueues.clear();
    if (m_pMidiEventList)
    {
        CHostMessage message; // the DSP object must not keep a list that is going away
        m_pPlugIn->hostMessage(msgMidiEventList, message);
    }
    m_pMidiEventList.reset();
}

void CProcessingPath::allocateSilentInput(int32 frames, bool keepExisting)
{
    assert(frames > 0);
    if (keepExisting && !m_SilentInput.empty())
        return;
    m_SilentInput.assign(static_cast<size_t>(frames) * 2, 0.0f);
}

bool CProcessingPath::resolveChannels(const ProcessData& data, BlockChannels& channels) const
{
    // [audio thread] channel count = min(arrangement, output buffers, 2).
    assert(m_pPlugIn && "a block processed with no DSP object attached");
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

bool CProcessingPath::applyControlChange(IParamValueQueue& queue, ParamID id, ParamValue value,
                                         int32 numSamples)
{
    assert(m_pPlugIn);
    CControlEntry* control = m_pPlugIn->m_ControlList.controlAt(id);
    if (!control)
        return false;
    const float position = parameterToPosition(*control, value);
    control->pUpdateQueue = nullptr;
    if (m_bSampleAccurate && id < m_UpdateQueues.size() && m_UpdateQueues[id])
    {
        m_UpdateQueues[id]->beginBlock(&queue, numSamples);
        control->pUpdateQueue = m_UpdateQueues[id].get();
    }
    m_pPlugIn->setControlNormalized(id, position, false);
    return true;
}

void CProcessingPath::runBlock(ProcessData& data, const BlockChannels& channels, bool bypass,
                               IParamValueQueue* bypassQueue, uint32_t auxChannels,
                               const std::vector<int32>& meterIds)
{
    assert(m_pPlugIn && channels.count > 0 && channels.count <= 2 && data.numSamples > 0);
    CHostInfo info;
    double period = 1.0 / std::max<int32_t>(m_pPlugIn->m_nSampleRate, 1);
    sendHostInfo(data, info, period);
    // The output is flagged silent only where the idle path below knows it is.
    data.outputs[0].silenceFlags = 0;
    const bool hasContext = data.processContext != nullptr;
    if (m_pPlugIn->m_bOutputOnly)
    {
        // Nothing to pass through: an output-only object is never bypassed.
        if (m_pPlugIn->m_bProcessWholeBuffers)
            processWholeBlock(data, channels, auxChannels, meterIds);
        else
        {
            processFrames(data, channels, auxChannels, info, hasContext, period);
            reportMeters(data, false, meterIds);
        }
        return;
    }
    if (m_pPlugIn->m_bProcessWholeBuffers)
    {
        // Whole buffers are the object's own: the switch takes effect at the block's start.
        const bool last = bypassQueue ? lastBypassValue(*bypassQueue, bypass) : bypass;
        m_Bypass.setBypass(last);
        if (last)
        {
            bypassBlock(channels, data.numSamples);
            reportMeters(data, true, meterIds);
        }
        else
            processWholeBlock(data, channels, auxChannels, meterIds);
        return;
    }
    m_Bypass.setBypass(bypass);
    if (!bypassQueue && m_Bypass.settledOnRoom())
    {
        if (!skipSilentBlock(data, channels, auxChannels, info, hasContext, period))
            processFrames(data, channels, auxChannels, info, hasContext, period);
        reportMeters(data, false, meterIds);
        return;
    }
    FrameRun run{data, channels, auxChannels, info, hasContext, period};
    beginFrames(run);
    processSwitchingBlock(run, bypass, bypassQueue);
    reportMeters(data, m_Bypass.settledOnDry(), meterIds);
}

// [audio thread] A block with a switch, a fade or the bypass in it: the frames between two
// switch points go through the crossfade, which runs the room, the input or both.
void CProcessingPath::processSwitchingBlock(FrameRun& run, bool bypass, IParamValueQueue* bypassQueue)
{
    const int32 frames = run.data.numSamples;
    const int32 points = bypassQueue ? bypassQueue->getPointCount() : 0;
    int32 point = 0;
    int32 from = 0;
    m_Bypass.setBypass(bypass);
    while (from < frames)
    {
        // The points due by `from` switch now (one out of order, or refused, takes no time);
        // the next one ends the run.
        int32 to = frames;
        for (; point < points; ++point)
        {
            int32 offset = 0;
            ParamValue value = 0.0;
            if (bypassQueue->getPoint(point, offset, value) != kResultOk || std::isnan(value))
                continue;
            if (offset > from)
            {
                to = std::min(offset, frames);
                break;
            }
            m_Bypass.setBypass(value != 0.0);
        }
        m_Bypass.run(
            *m_pPlugIn, from, to, [&](int32 a, int32 b) { runFrames(run, a, b, false); },
            [&](int32 a, int32 b) { skipFrames(run, a, b); },
            [&](int32 a, int32 b) { runFrames(run, a, b, true); });
        from = to;
    }
    // Points at or past the block's end still count, from the next block on.
    for (; point < points; ++point)
    {
        int32 offset = 0;
        ParamValue value = 0.0;
        if (bypassQueue->getPoint(point, offset, value) == kResultOk && !std::isnan(value))
            m_Bypass.setBypass(value != 0.0);
    }
}

bool CProcessingPath::lastBypassValue(IParamValueQueue& queue, bool bypass)
{
    for (int32 point = queue.getPointCount() - 1; point >= 0; --point)
    {
        int32 offset = 0;
        ParamValue value = 0.0;
        if (queue.getPoint(point, offset, value) == kResultOk && !std::isnan(value))
            return value != 0.0;
    }
    return bypass;
}

void CProcessingPath::endBlock()
{
    if (m_pMidiEventList)
        m_pMidiEventList->setHostList(nullptr);
    if (!m_bSampleAccurate || !m_pPlugIn)
        return;
    for (uint32_t k = 0; k < m_UpdateQueues.size(); ++k)
    {
        if (CVSTParamUpdateQueue* queue = m_UpdateQueues[k].get())
        {
            queue->endBlock();
            if (m_pPlugIn->m_ppControlTable && k < m_pPlugIn->m_nControlCount
                && m_pPlugIn->m_ppControlTable[k])
                m_pPlugIn->m_ppControlTable[k]->pUpdateQueue = nullptr;
        }
    }
}

void CProcessingPath::sendHostInfo(const ProcessData& data, CHostInfo& info, double& period)
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

void CProcessingPath::bypassBlock(const BlockChannels& channels, int32 numSamples)
{
    for (uint32_t c = 0; c < channels.count; ++c)
    {
        float* out = channels.out[c];
        const float* in = channels.in[c];
        for (int32 i = 0; i < numSamples; ++i)
            out[i] = in ? finiteOrZero(in[i]) : 0.0f; // a bypassed NaN is no more welcome
    }
}

void CProcessingPath::processWholeBlock(ProcessData& data, const BlockChannels& channels,
                                        uint32_t auxChannels, const std::vector<int32>& meterIds)
{
    if (m_pMidiEventList)
        m_pMidiEventList->setHostList(data.inputEvents);
    if (auxChannels > 0)
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
    reportMeters(data, true, meterIds);
}

void CProcessingPath::feedSidechainFrame(float* const* aux, uint32_t auxChannels, int32 frame,
                                         float* auxFrame)
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

void CProcessingPath::FrameRun::fetch()
{
    // Events the host refuses to hand out are passed over.
    pending = false;
    while (!pending && nextEvent < eventCount)
        pending = events->getEvent(nextEvent++, event) == kResultOk;
}

void CProcessingPath::beginFrames(FrameRun& run)
{
    run.events = run.data.inputEvents;
    if (m_pMidiEventList)
        m_pMidiEventList->setHostList(run.events);
    run.eventCount = run.events ? run.events->getEventCount() : 0;
    run.fetch();
}

void CProcessingPath::processFrames(ProcessData& data, const BlockChannels& channels, uint32_t auxChannels,
                                    CHostInfo& info, bool hasContext, double period)
{
    FrameRun run{data, channels, auxChannels, info, hasContext, period};
    beginFrames(run);
    runFrames(run, 0, data.numSamples, false);
}

void CProcessingPath::runFrames(FrameRun& run, int32 from, int32 to, bool fade)
{
    CPlugIn& plugIn = *m_pPlugIn;
    float inFrame[2] = {0.0f, 0.0f};
    float outFrame[2] = {0.0f, 0.0f};
    float auxFrame[2] = {0.0f, 0.0f};
    const uint32_t auxChannels = run.auxChannels;
    float* const* aux = auxChannels > 0 ? run.data.inputs[1].channelBuffers32 : nullptr;
    CHostInfo& info = run.info;
    const bool hasContext = run.hasContext;
    const double period = run.period;
    CHostMessage message;
    message.nValueCount = -1;
    message.pHostInfo = hasContext ? &info : nullptr;
    const BlockChannels& channels = run.channels;
    const uint32_t count = channels.count;
    const float* const in0 = channels.in[0];
    const float* const in1 = count == 2 ? channels.in[1] : nullptr;
    float* const out0 = channels.out[0];
    float* const out1 = count == 2 ? channels.out[1] : nullptr;
    // One frame, its side-chain frame fed and its events delivered: the input frame (a missing
    // channel reads zeros), the effect, the output and the transport.
    auto frame = [&](int32 i) {
        inFrame[0] = in0 ? finiteOrZero(in0[i]) : 0.0f;
        if (out1)
            inFrame[1] = in1 ? finiteOrZero(in1[i]) : 0.0f;
        if (fade)
        {
            float roomIn[2] = {0.0f, 0.0f};
            const float w = m_Bypass.fadeInput(inFrame, roomIn, count);
            plugIn.processFrame(roomIn, outFrame, count, count);
            CBypassCrossfade::mixFrame(inFrame, outFrame, count, w);
        }
        else
            plugIn.processFrame(inFrame, outFrame, count, count);
        out0[i] = outFrame[0];
        if (out1)
            out1[i] = outFrame[1];
        if (hasContext)
        {
            ++info.uSamplePos;
            info.dTimeSeconds = static_cast<double>(info.uSamplePos) * period;
            plugIn.hostMessage(msgHostInfo, message);
        }
    };
    // Frames [a, b) with nothing between them: one run where the object takes it (no side chain
    // and no fade), the transport then reported once as it stands after the run; else frame by
    // frame.
    auto quietFrames = [&](int32 a, int32 b) {
        if (b > a && !aux && !fade)
        {
            const float* const ins[2] = {in0 ? in0 + a : nullptr, in1 ? in1 + a : nullptr};
            float* const outs[2] = {out0 + a, out1 ? out1 + a : nullptr};
            if (plugIn.processFrameRun(ins, outs, count, static_cast<uint32_t>(b - a)))
            {
                if (hasContext)
                {
                    info.uSamplePos += static_cast<uint64_t>(b - a);
                    info.dTimeSeconds = static_cast<double>(info.uSamplePos) * period;
                    plugIn.hostMessage(msgHostInfo, message);
                }
                return;
            }
        }
        for (int32 i = a; i < b; ++i)
        {
            if (aux)
                feedSidechainFrame(aux, auxChannels, i, auxFrame);
            frame(i);
        }
    };
    const int32 last = run.data.numSamples - 1;
    for (int32 i = from; i < to; ++i)
    {
        // An event is due at the first frame at or after its offset; out-of-order events and
        // those beyond the block arrive no later than the last frame. The frames before the
        // next one due run without looking at events.
        const int32 due = std::min(run.pending ? std::clamp(run.event.sampleOffset, i, last) : last + 1, to);
        quietFrames(i, due);
        i = due;
        if (i >= to)
            break;
        if (aux)
            feedSidechainFrame(aux, auxChannels, i, auxFrame);
        while (run.pending && (run.event.sampleOffset <= i || i == last))
        {
            deliverMidiEvent(plugIn, run.event, MidiDelivery::kNotesAndRaw);
            run.fetch();
        }
        frame(i);
    }
}

void CProcessingPath::skipFrames(FrameRun& run, int32 from, int32 to)
{
    const BlockChannels& channels = run.channels;
    for (uint32_t c = 0; c < channels.count; ++c)
    {
        float* out = channels.out[c];
        const float* in = channels.in[c];
        for (int32 i = from; i < to; ++i)
            out[i] = in ? finiteOrZero(in[i]) : 0.0f; // a bypassed NaN is no more welcome
    }
    // A bypassed object hears no events, as it hears no input.
    const int32 last = run.data.numSamples - 1;
    while (run.pending && (run.event.sampleOffset < to || to > last))
        run.fetch();
    if (run.hasContext)
    {
        run.info.uSamplePos += static_cast<uint64_t>(to - from);
        run.info.dTimeSeconds = static_cast<double>(run.info.uSamplePos) * run.period;
        CHostMessage message;
        message.nValueCount = -1;
        message.pHostInfo = &run.info;
        m_pPlugIn->hostMessage(msgHostInfo, message);
    }
}

// [audio thread] A block of silent input offered to the effect as a whole: when it stands in
// for the block, the output is zeros flagged silent and the effect's processing never runs.
// Blocks with events or side-chain input go frame by frame, as they may change its state.
bool CProcessingPath::skipSilentBlock(ProcessData& data, const BlockChannels& channels, uint32_t auxChannels,
                                      CHostInfo& info, bool hasContext, double period)
{
    if (auxChannels > 0 || (data.inputEvents && data.inputEvents->getEventCount() > 0))
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

void CProcessingPath::reportMeters(ProcessData& data, bool zero, const std::vector<int32>& meterIds)
{
    if (!data.outputParameterChanges)
        return;
    for (size_t k = 0; k < meterIds.size(); ++k)
    {
        const int32 id = meterIds[k];
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
