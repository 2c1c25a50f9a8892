// Processing set-up: bus arrangements, sample rate, activation, latency and tail.
#include "adapter/processor/Processor.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <algorithm>
#include <cmath>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
// Longest block handed to processBuffers at once when silent input channels stand in.
constexpr int32 kMaxSilentBlock = 8192;

bool isMonoOrStereo(SpeakerArrangement arrangement)
{
    return arrangement == SpeakerArr::kMono || arrangement == SpeakerArr::kStereo;
}
} // namespace

tresult PLUGIN_API Processor::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                 SpeakerArrangement* outputs, int32 numOuts)
{
    // [main thread] Frames carry at most two channels: only mono and stereo are accepted.
    const bool outputOnly = m_pPlugIn && m_pPlugIn->m_bOutputOnly;
    if (numOuts != 1 || !outputs)
        return kResultFalse;
    if (outputOnly)
    {
        if (numIns != 0 || outputs[0] != SpeakerArr::kStereo)
            return kResultFalse;
    }
    else if (numIns != 1 || !inputs || inputs[0] != outputs[0] || !isMonoOrStereo(outputs[0]))
        return kResultFalse;
    const tresult result = SingleComponentEffect::setBusArrangements(inputs, numIns, outputs, numOuts);
    if (result == kResultTrue)
        m_Path.setArrangementChannels(SpeakerArr::getChannelCount(outputs[0]));
    return result;
}

uint32 PLUGIN_API Processor::getLatencySamples()
{
    return static_cast<uint32>(std::max<int32>(m_nLatencySamples, 0));
}

void Processor::prepareAtSampleRate(double sampleRate)
{
    // [main thread, not processing]
    if (!m_pPlugIn)
        createPlugIn();
    if (!m_pPlugIn)
        return;
    drainPendingChanges();
    m_pPlugIn->m_nSampleRate = static_cast<int32_t>(sampleRate);
    m_pPlugIn->prepare();
    m_Path.resetBypass(m_pPlugIn->m_nSampleRate, m_bBypass);
    m_Mirror.storeFrom(*m_pPlugIn, m_bBypass);
}

tresult PLUGIN_API Processor::setupProcessing(ProcessSetup& setup)
{
    // [main thread] Refused before anything is touched: a rate the DSP object cannot hold as a
    // positive integer, any sample size but 32-bit, or a change while processing.
    const double rate = setup.sampleRate;
    if (!std::isfinite(rate) || rate < 1.0 || rate > 2147483647.0 || setup.symbolicSampleSize != kSample32
        || m_bActive)
        return kResultFalse;
    prepareAtSampleRate(rate);
    const int32 block = std::clamp<int32>(setup.maxSamplesPerBlock, 1, kMaxSilentBlock);
    m_Path.allocateSilentInput(block, false);
    return SingleComponentEffect::setupProcessing(setup);
}

tresult PLUGIN_API Processor::setActive(TBool state)
{
    // [main thread] The host processes only between setActive(true) and setActive(false).
    if (!state)
    {
        m_bActive = false;
        drainPendingChanges();
        return kResultOk;
    }
    prepareAtSampleRate(processSetup.sampleRate);
    m_Path.allocateSilentInput(kMaxSilentBlock, true);
    m_bActive = true;
    return kResultOk;
}

uint32 PLUGIN_API Processor::getTailSamples()
{
    if (!m_pPlugIn)
        return kNoTail;
    if (m_pPlugIn->m_bInfiniteTail == 1)
        return kInfiniteTail;
    // Rounded up: a host that stops at the reported tail must not cut the last samples off.
    const double samples =
        std::ceil(static_cast<double>(m_pPlugIn->m_fTailTimeMs) / 1000.0 * processSetup.sampleRate);
    if (!(samples > 0.0))
        return kNoTail;
    return samples >= static_cast<double>(kInfiniteTail) ? kInfiniteTail - 1 : static_cast<uint32>(samples);
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
