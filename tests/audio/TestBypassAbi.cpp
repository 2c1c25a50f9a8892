// The bypass switch of the bundle as a VST3 host drives it: switches at any frame inside a block
// (points of the Bypass parameter's queue), crossfaded, and no echo of the time before a bypass.
#include "AudioFixture.h"
#include "support/BypassScenarios.h"

using namespace AudioTest;
using TestSupport::BypassSwitch;
using TestSupport::StereoOut;

namespace {

constexpr ParamID kBypassId = 0x808;

class BundleBypass : public Bundle
{
protected:
    // Each switch is a point of the block's Bypass queue at its offset in the block.
    TestSupport::BypassRender renderer()
    {
        return [this](const std::vector<float>& input, const std::vector<BypassSwitch>& switches) {
            HostInstance instance;
            start(instance);
            StereoOut out{std::vector<float>(input.size()), std::vector<float>(input.size())};
            HostAudioBuffers buffers(2, 2, kBlock);
            const auto frames = static_cast<int32>(input.size());
            for (int32 first = 0; first < frames; first += kBlock)
            {
                const int32 n = std::min(kBlock, frames - first);
                HostParameterChanges changes;
                for (const BypassSwitch& s : switches)
                    if (s.frame >= first && s.frame < first + n)
                        changes.addChange(kBypassId, s.frame - first, s.bypass ? 1.0 : 0.0);
                for (int32 c = 0; c < 2; ++c)
                    std::copy_n(input.begin() + first, n, buffers.input(c));
                EXPECT_EQ(instance.process(buffers, n, &changes), kResultOk);
                std::copy_n(buffers.output(0), n, out.left.begin() + first);
                std::copy_n(buffers.output(1), n, out.right.begin() + first);
            }
            return out;
        };
    }
};

} // namespace

TEST_P(BundleBypass, NothingHeardBeforeABypassComesOutAfterIt)
{
    // Inside blocks, as automation gives them.
    TestSupport::expectNoGhost(renderer(), 48000 + 77, 144000 + 201, static_cast<int32_t>(rate()));
}

TEST_P(BundleBypass, SwitchesInsideABlockAreCrossfadedAtTheirFrame)
{
    TestSupport::expectSmoothSwitches(renderer(), 76800 + 37, 88832 + 130, static_cast<int32_t>(rate()));
}

// The rate-true room empties its own delays too: at 96 kHz they are longer than the original's.
INSTANTIATE_TEST_SUITE_P(
    Classes, BundleBypass,
    ::testing::Values(ClassAtRate{"Tessaline48k", Tessaline::kProcessorCid, 48000.0, false},
                      ClassAtRate{"AnyRate44k1", Tessaline::kAnyRateCid, 44100.0, true},
                      ClassAtRate{"AnyRate96k", Tessaline::kAnyRateCid, 96000.0, true}),
    [](const ::testing::TestParamInfo<ClassAtRate>& param) { return std::string(param.param.name); });
