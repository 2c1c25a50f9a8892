// The bypass switch (the lv2:enabled port) through the plug-in's descriptor, as lilv runs it:
// crossfaded from the block where the port changes, and no echo of the time before a bypass.
#include "Lv2TestHost.h"
#include "support/BypassScenarios.h"

#include <gtest/gtest.h>

#include <algorithm>

using Lv2Test::Lv2Instance;
using Lv2Test::Lv2World;
using TestSupport::BypassSwitch;
using TestSupport::StereoOut;

namespace {

constexpr uint32_t kBlock = 256;

class Lv2Bypass : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(world.plugin(), nullptr) << "the plug-in is not in " << TESSALINE_LV2_BUNDLE_PATH;
    }

    // The enabled port is set before the block that starts at a switch's frame.
    TestSupport::BypassRender renderer()
    {
        return [this](const std::vector<float>& input, const std::vector<BypassSwitch>& switches) {
            Lv2Instance plug(world, TestSupport::kBypassRate, kBlock);
            const uint32_t enabled = world.portIndex("enabled");
            plug.control(enabled) = 1.0f;
            StereoOut out{std::vector<float>(input.size()), std::vector<float>(input.size())};
            const auto frames = static_cast<uint32_t>(input.size());
            for (uint32_t first = 0; first < frames; first += kBlock)
            {
                for (const BypassSwitch& s : switches)
                    if (static_cast<uint32_t>(s.frame) == first)
                        plug.control(enabled) = s.bypass ? 0.0f : 1.0f;
                const uint32_t n = std::min(kBlock, frames - first);
                for (int c = 0; c < 2; ++c)
                    std::copy_n(input.begin() + first, n, plug.input(c));
                plug.run(n);
                std::copy_n(plug.output(0), n, out.left.begin() + first);
                std::copy_n(plug.output(1), n, out.right.begin() + first);
            }
            return out;
        };
    }

    Lv2World world{TESSALINE_LV2_BUNDLE_PATH};
};

} // namespace

TEST_F(Lv2Bypass, NothingHeardBeforeABypassComesOutAfterIt)
{
    TestSupport::expectNoGhost(renderer(), 188 * kBlock, 563 * kBlock);
}

TEST_F(Lv2Bypass, SwitchesAreCrossfaded)
{
    TestSupport::expectSmoothSwitches(renderer(), 300 * kBlock, 347 * kBlock);
}
