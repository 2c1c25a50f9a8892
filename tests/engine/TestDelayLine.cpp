#include "engine/CDelayLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
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

// The room's lines hold one sample more than their delay: every slot is read back exactly
// `delay` samples after it is written, through many wraps, and a longer delay is clamped.
TEST(DelayLine, LineSizedToItsDelayWrapsWithoutChangingIt)
{
    CDelayLine line(CDelayLine::Capacity{257}, 256, 0.0, 100.0);
    EXPECT_EQ(line.bufferSize(), 257);
    for (int n = 0; n < 10 * 257 + 3; ++n)
        line.processSample(0.0);
    std::vector<double> in(1500), out;
    for (std::size_t n = 0; n < in.size(); ++n)
        in[n] = static_cast<double>(n % 311) - 100.0;
    for (double x : in)
    {
        line.processSample(x);
        out.push_back(line.output());
    }
    for (std::size_t n = 0; n < out.size(); ++n)
        ASSERT_EQ(out[n], n < 256 ? 0.0 : in[n - 256]) << n;
    line.reset(1000, 0.0, 100.0);
    EXPECT_EQ(line.delaySamples(), 256);
    EXPECT_EQ(CDelayLine(CDelayLine::Capacity{0}, 5, 0.0, 100.0).bufferSize(), 2);
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

// processRun against processSample over lines of every shape: feedback, dry and wet mixes,
// no delay, the longest delay a buffer holds, and runs of lengths that end anywhere relative to
// the wraps. Output, line contents (through what comes out later) and the zero-holding state agree.
TEST(DelayLine, RunsGiveWhatSamplesGive)
{
    struct Line
    {
        int capacity, delay;
        double feedback, wet;
    };
    const Line kLines[] = {{257, 256, 0.0, 100.0}, {50, 7, 50.0, 100.0}, {50, 7, -30.0, 40.0},
                           {16, 0, 20.0, 37.0},    {9, 8, 90.0, 0.0},    {300, 1, 0.0, 100.0}};
    std::vector<double> in(4000);
    for (std::size_t n = 0; n < in.size(); ++n)
        in[n] =
            (n / 500) % 2 == 1 ? 0.0 : std::sin(0.37 * static_cast<double>(n)) * (n % 7 == 0 ? -0.0 : 1.0);
    for (const Line& l : kLines)
        for (int run : {1, 3, 8, 100, 257, 1000})
        {
            SCOPED_TRACE(::testing::Message()
                         << "capacity " << l.capacity << ", delay " << l.delay << ", feedback " << l.feedback
                         << ", wet " << l.wet << ", runs of " << run);
            CDelayLine bySample(CDelayLine::Capacity{l.capacity}, l.delay, l.feedback, l.wet);
            CDelayLine byRun(CDelayLine::Capacity{l.capacity}, l.delay, l.feedback, l.wet);
            std::vector<double> out(in.size());
            for (std::size_t n = 0; n < in.size(); n += static_cast<std::size_t>(run))
            {
                const int count =
                    static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(run), in.size() - n));
                byRun.processRun(in.data() + n, out.data() + n, count);
                for (int k = 0; k < count; ++k)
                {
                    bySample.processSample(in[n + static_cast<std::size_t>(k)]);
                    const double expected = bySample.output();
                    ASSERT_EQ(std::memcmp(&out[n + static_cast<std::size_t>(k)], &expected, sizeof expected),
                              0)
                        << "sample " << n + static_cast<std::size_t>(k);
                }
                ASSERT_EQ(byRun.output(), bySample.output());
                ASSERT_EQ(byRun.holdsOnlyZeros(), bySample.holdsOnlyZeros()) << "after sample " << n + count;
            }
        }
}

} // namespace
