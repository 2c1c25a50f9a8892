#include "engine/CDelayLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

std::vector<double> impulseThrough(CDelayLine& line, int calls, double amplitude = 1.0)
{
    std::vector<double> out;
    for (int n = 0; n < calls; ++n)
    {
        line.processSample(n == 0 ? amplitude : 0.0);
        out.push_back(line.output());
    }
    return out;
}

TEST(DelayLine, RoomSettingsArePureDelayOf256)
{
    CDelayLine line(44100, 300, 50.0, 30.0);
    line.processSample(5.0); // leftovers that reset must discard
    line.reset(256, 0.0, 100.0);
    const std::vector<double> out = impulseThrough(line, 1000);
    for (int n = 0; n < 1000; ++n)
        ASSERT_EQ(out[n], n == 256 ? 1.0 : 0.0) << "call " << n + 1;
}

TEST(DelayLine, DryWetAndZeroDelayCases)
{
    CDelayLine zero(44100, 0, 50.0, 37.0);
    for (double x : {1.0, -2.5, 0.25})
    {
        zero.processSample(x);
        EXPECT_EQ(zero.output(), x);
    }
    CDelayLine dry(44100, 10, 0.0, 0.0);
    std::vector<double> out = impulseThrough(dry, 30, 3.0);
    EXPECT_EQ(out[0], 3.0);
    for (int n = 1; n < 30; ++n)
        EXPECT_EQ(out[n], 0.0);
}

TEST(DelayLine, FeedbackHalvesEachRepeat)
{
    CDelayLine line(1000, 7, 50.0, 100.0);
    const std::vector<double> out = impulseThrough(line, 40);
    for (int n = 0; n < 40; ++n)
    {
        const double expected = (n > 0 && n % 7 == 0) ? std::ldexp(1.0, -(n / 7 - 1)) : 0.0;
        ASSERT_EQ(out[n], expected) << n;
    }
}

TEST(DelayLine, IndicesWrapWithoutChangingTheDelay)
{
    CDelayLine line(44100, 256, 0.0, 100.0);
    EXPECT_EQ(line.bufferSize(), 88200);
    for (int n = 0; n < 88200 + 40; ++n)
        line.processSample(0.0);
    const std::vector<double> out = impulseThrough(line, 600);
    for (int n = 0; n < 600; ++n)
        ASSERT_EQ(out[n], n == 256 ? 1.0 : 0.0) << n;
}

TEST(DelayLine, OutOfRangeSettingsAreClamped)
{
    CDelayLine line(100, 5000, std::numeric_limits<double>::quiet_NaN(), 100.0);
    EXPECT_EQ(line.delaySamples(), 199);
    line.reset(-4, 0.0, 100.0);
    EXPECT_EQ(line.delaySamples(), 0);
    CDelayLine noRate(0, 1, 0.0, 100.0); // smallest buffer still delays by one
    const std::vector<double> out = impulseThrough(noRate, 3);
    EXPECT_EQ(out, (std::vector<double>{0.0, 1.0, 0.0}));
}

} // namespace
