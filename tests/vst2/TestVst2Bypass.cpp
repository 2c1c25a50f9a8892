// The bypass switch through the VST2 entry (effSetBypass between blocks): crossfaded, and no
// echo of the time before a bypass.
#include "Vst2Fixture.h"
#include "support/BypassScenarios.h"

using namespace Vst2Test;
using TestSupport::BypassSwitch;
using TestSupport::StereoOut;

namespace {

class Vst2Bypass : public Vst2Bundle
{
protected:
    // A switch is sent before the block that starts at its frame.
    TestSupport::BypassRender renderer()
    {
        return [this](const std::vector<float>& input, const std::vector<BypassSwitch>& switches) {
            Vst2HostEffect host;
            start(host);
            StereoOut out{std::vector<float>(input.size()), std::vector<float>(input.size())};
            std::vector<float> l(input), r(input);
            Vst2::AEffect* e = host.effect();
            const auto frames = static_cast<int32_t>(input.size());
            for (int32_t first = 0; first < frames; first += kBlock)
            {
                for (const BypassSwitch& s : switches)
                {
                    if (s.frame == first)
                    {
                        EXPECT_EQ(host.dispatch(Vst2::effSetBypass, 0, s.bypass ? 1 : 0), 1);
                    }
                }
                float* ins[2] = {l.data() + first, r.data() + first};
                float* outs[2] = {out.left.data() + first, out.right.data() + first};
                e->processReplacing(e, ins, outs, std::min(kBlock, frames - first));
            }
            return out;
        };
    }
};

} // namespace

TEST_F(Vst2Bypass, NothingHeardBeforeABypassComesOutAfterIt)
{
    TestSupport::expectNoGhost(renderer(), 188 * kBlock, 563 * kBlock);
}

TEST_F(Vst2Bypass, SwitchesAreCrossfaded)
{
    TestSupport::expectSmoothSwitches(renderer(), 300 * kBlock, 347 * kBlock);
}
