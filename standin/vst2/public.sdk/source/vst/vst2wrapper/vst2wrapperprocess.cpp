// Audio: the host's block through the VST3 process call, in pieces no longer than the block size
// the component was set up with. [audio thread] Nothing here allocates, locks or waits.
#include "public.sdk/source/vst/vst2wrapper/vst2wrapper.h"
#include "public.sdk/source/vst/vst2wrapper/vst2processcontext.h"

#include "vst2abi/Vst2Events.h"
#include "vst2abi/Vst2Opcodes.h"
#include "vst2abi/Vst2TimeInfo.h"

#include <algorithm>
#include <cstring>

namespace Steinberg {
namespace Vst {

namespace {
constexpr int32 kTimeInfoWanted = Vst2::kVstNanosValid | Vst2::kVstPpqPosValid | Vst2::kVstTempoValid
                                  | Vst2::kVstBarsValid | Vst2::kVstCyclePosValid | Vst2::kVstTimeSigValid
                                  | Vst2::kVstClockValid;
} // namespace

void Vst2Wrapper::processEvents(const void* hostEvents)
{
    if (hostEvents && active)
        midiInput.addEvents(*static_cast<const Vst2::VstEvents*>(hostEvents), parameters);
}

void Vst2Wrapper::processBlock(float** inputs, float** outputs, int32 frames, bool accumulate)
{
    if (!outputs || frames <= 0)
        return;
    if (!opened || !active)
    {
        // Suspended: a replacing call still owes the host defined samples.
        if (!accumulate)
            for (int32 c = 0; c < effect.numOutputs; ++c)
                if (outputs[c])
                    std::memset(outputs[c], 0, sizeof(float) * static_cast<size_t>(frames));
        return;
    }
    const auto* time =
        reinterpret_cast<const Vst2::VstTimeInfo*>(hostCall(Vst2::audioMasterGetTime, 0, kTimeInfoWanted));
    if (time)
        fillProcessContext(*time, sampleRate, processContext);
    for (int32 start = 0; start < frames; start += blockSize)
    {
        const int32 length = std::min(blockSize, frames - start);
        processPiece(inputs, outputs, start, length, start + length >= frames, accumulate, time != nullptr);
        processContext.projectTimeSamples += length;
        processContext.continousTimeSamples += length;
    }
    midiInput.clear();
}

void Vst2Wrapper::processPiece(float** inputs, float** outputs, int32 start, int32 length, bool last,
                               bool accumulate, bool hasContext)
{
    inputChanges.clear();
    events.clear();
    if (start == 0)
        parameters.takeProcessorChanges(inputChanges);
    midiInput.deliver(start, length, last, events, inputChanges);

    float* in[2] = {};
    float* out[2] = {};
    for (int32 c = 0; c < busChannels; ++c)
    {
        if (inputs && c < effect.numInputs && inputs[c])
            in[c] = inputs[c] + start;
        // Accumulation and missing host buffers go through the scratch buffer.
        float* scratchChannel = scratch.data() + static_cast<size_t>(c) * static_cast<size_t>(blockSize);
        out[c] = (accumulate || !outputs[c]) ? scratchChannel : outputs[c] + start;
    }
    AudioBusBuffers inBus{};
    inBus.numChannels = busChannels;
    inBus.channelBuffers32 = in;
    AudioBusBuffers outBus{};
    outBus.numChannels = busChannels;
    outBus.channelBuffers32 = out;

    ProcessData data{};
    data.processMode = kRealtime;
    data.symbolicSampleSize = kSample32;
    data.numSamples = length;
    data.numInputs = effect.numInputs > 0 ? 1 : 0;
    data.inputs = effect.numInputs > 0 ? &inBus : nullptr;
    data.numOutputs = 1;
    data.outputs = &outBus;
    data.inputParameterChanges = &inputChanges;
    data.inputEvents = &events;
    data.processContext = hasContext ? &processContext : nullptr;
    processor->process(data);

    for (int32 c = 0; c < effect.numOutputs; ++c)
    {
        if (!outputs[c])
            continue;
        float* target = outputs[c] + start;
        if (c >= busChannels)
        {
            // A mono arrangement leaves the second pin silent in replacing mode.
            if (!accumulate)
                std::memset(target, 0, sizeof(float) * static_cast<size_t>(length));
        }
        else if (accumulate)
            for (int32 i = 0; i < length; ++i)
                target[i] += out[c][i];
    }
}

} // namespace Vst
} // namespace Steinberg
