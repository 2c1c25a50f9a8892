// Audio processing: a plain frame loop for now; parameter changes, transport information,
// MIDI events, bypass and meters join it with the processing path.
#include "Processor.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

tresult PLUGIN_API Processor::process(ProcessData& data)
{
    // [audio thread]
    if (!m_pPlugIn)
        return kResultFalse;
    if (data.numSamples <= 0 || data.numOutputs < 1 || !data.outputs[0].channelBuffers32)
        return kResultOk;
    const AudioBusBuffers& outBus = data.outputs[0];
    const AudioBusBuffers* inBus = data.numInputs > 0 ? &data.inputs[0] : nullptr;
    const uint32_t channels = outBus.numChannels >= 2 ? 2u : static_cast<uint32_t>(outBus.numChannels);
    float inFrame[2] = {0.0f, 0.0f};
    float outFrame[2] = {0.0f, 0.0f};
    for (int32 n = 0; n < data.numSamples; ++n)
    {
        for (uint32_t c = 0; c < channels; ++c)
        {
            const bool hasInput = inBus && inBus->channelBuffers32
                                  && static_cast<int32>(c) < inBus->numChannels;
            inFrame[c] = hasInput ? inBus->channelBuffers32[c][n] : 0.0f;
        }
        m_pPlugIn->processFrame(inFrame, outFrame, channels, channels);
        for (uint32_t c = 0; c < channels; ++c)
            outBus.channelBuffers32[c][n] = outFrame[c];
    }
    return kResultOk;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
