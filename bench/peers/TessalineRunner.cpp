#include "TessalineRunner.h"

#include "HostEffect.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <cstring>
#include <stdexcept>

namespace peerbench {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Host parameter ids of the room controls (the plug-in's stored-project contract).
constexpr ParamID kPosition = 1;
constexpr ParamID kFirstSurfaceControl = 2; // Vol L-R, Abs L-R, Vol F-B, Abs F-B, Vol C-F, Abs C-F
constexpr ParamID kDecayType = 8;

} // namespace

TessalineRunner::TessalineRunner(const TessalineHost::HostModule& module, double sampleRate, int maxBlock,
                                 bool automate)
    : m_Changes(16, 4)
    , m_bAutomate(automate)
{
    TUID cid = {};
    std::string error;
    if (!TessalineHost::openEffect(module, m_Instance, cid, error))
        throw std::runtime_error("Tessaline: " + error);
    if (m_Instance.setBusArrangement(SpeakerArr::kStereo) != kResultOk
        || m_Instance.setupProcessing(sampleRate, maxBlock, kRealtime) != kResultOk
        || m_Instance.setActive(true) != kResultOk)
        throw std::runtime_error("Tessaline: cannot start stereo processing");
    m_Instance.setProcessing(true);
    m_pBuffers = std::make_unique<TessalineHost::HostAudioBuffers>(2, 2, maxBlock);
}

TessalineRunner::~TessalineRunner() = default;

// Every room control gets one new value per block, each a different walk, so that every block
// rebuilds position, volumes, all three envelopes and the decay law.
void TessalineRunner::queueChanges(int frames)
{
    m_Changes.clear();
    if (!m_bAutomate)
        return;
    const long n = m_nBlock;
    m_Changes.addChange(kPosition, 0, static_cast<double>(n % 11) / 10.0);
    for (ParamID id = kFirstSurfaceControl; id < kDecayType; ++id)
        m_Changes.addChange(id, static_cast<int32>(id) * frames / 16,
                            static_cast<double>((n * 7 + id * 13) % 100) / 99.0);
    m_Changes.addChange(kDecayType, frames / 2, static_cast<double>(n % 2));
}

void TessalineRunner::process(const float* const* in, float* const* out, int frames)
{
    for (int ch = 0; ch < 2; ++ch)
        std::memcpy(m_pBuffers->input(ch), in[ch], sizeof(float) * static_cast<std::size_t>(frames));
    queueChanges(frames);
    m_Instance.process(*m_pBuffers, frames, &m_Changes);
    ++m_nBlock;
    for (int ch = 0; ch < 2; ++ch)
        std::memcpy(out[ch], m_pBuffers->output(ch), sizeof(float) * static_cast<std::size_t>(frames));
}

} // namespace peerbench
