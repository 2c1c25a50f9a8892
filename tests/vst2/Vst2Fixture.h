// The built bundle loaded by our small VST2 host (dlopen, VSTPluginMain, the effect record only),
// with helpers to start effects and render blocks through processReplacing.
#pragma once

#include "HostModule.h"
#include "Vst2HostEffect.h"
#include "support/Noise.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace Vst2Test {

using TessalineHost::Vst2HostEffect;

constexpr float kRate = 48000.0f;
constexpr int32_t kBlock = 256;

inline std::string modulePath() { return TessalineHost::HostModule::binaryPath(TESSALINE_BUNDLE_PATH); }

// A deterministic noise burst (the first quarter, half scale) followed by silence.
inline std::vector<float> testSignal(int32_t frames, uint32_t seed)
{
    std::vector<float> signal(static_cast<size_t>(frames), 0.0f);
    uint32_t state = seed;
    for (int32_t i = 0; i < frames / 4; ++i)
        signal[static_cast<size_t>(i)] = 0.5f * TestSupport::lcgNoise(state);
    return signal;
}

struct Stereo
{
    std::vector<float> left, right;
    bool operator==(const Stereo& o) const { return left == o.left && right == o.right; }
};

// Renders the two input channels in host blocks of `block` frames. accumulate: the old
// accumulating entry into outputs pre-filled with `prefill`.
inline Stereo render(Vst2HostEffect& host, const std::vector<float>& inL, const std::vector<float>& inR,
                     int32_t block = kBlock, bool accumulate = false, float prefill = 0.0f)
{
    Stereo out{std::vector<float>(inL.size(), prefill), std::vector<float>(inR.size(), prefill)};
    std::vector<float> l(inL), r(inR);
    Vst2::AEffect* e = host.effect();
    const auto frames = static_cast<int32_t>(inL.size());
    for (int32_t start = 0; start < frames; start += block)
    {
        const int32_t n = std::min(block, frames - start);
        float* ins[2] = {l.data() + start, r.data() + start};
        float* outs[2] = {out.left.data() + start, out.right.data() + start};
        if (accumulate)
            e->process(e, ins, outs, n);
        else
            e->processReplacing(e, ins, outs, n);
    }
    return out;
}

class Vst2Bundle : public ::testing::Test
{
protected:
    // A created, opened and resumed effect at 48 kHz.
    void start(Vst2HostEffect& host, int32_t block = kBlock)
    {
        ASSERT_TRUE(host.create(modulePath())) << host.error();
        host.start(kRate, block);
    }
};

} // namespace Vst2Test
