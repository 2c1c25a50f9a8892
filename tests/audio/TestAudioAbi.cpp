// The room signal, parameter changes, bypass and the tail as a host hears them.
#include "AudioFixture.h"
#include "support/Noise.h"

#include <cmath>
#include <limits>

using namespace AudioTest;

namespace {
float peak(const std::vector<float>& x, size_t from, size_t to)
{
    float p = 0.0f;
    for (size_t i = from; i < to && i < x.size(); ++i)
        p = std::max(p, std::fabs(x[i]));
    return p;
}
} // namespace

// 255 samples at the bank's rate; the rate-true room keeps that time at its rate.
TEST_P(Bundle, RoomSignalStartsTwoHundredFiftyFiveSamplesAfterTheInput)
{
    HostInstance instance;
    start(instance);
    std::vector<float> impulse(1, 1.0f), outL, outR;
    const auto from = static_cast<size_t>(onset());
    render(instance, impulse, impulse, 8192, outL, outR);
    EXPECT_EQ(peak(outL, 0, from), 0.0f);
    EXPECT_EQ(peak(outR, 0, from), 0.0f);
    EXPECT_GT(peak(outL, from, 8192), 1e-4f);
    EXPECT_GT(peak(outR, from, 8192), 1e-4f);
    EXPECT_EQ(instance.getProcessor()->getLatencySamples(), 0u) << "the onset is part of the room's sound";
}

TEST_P(Bundle, GainChangesInABlockScaleTheRoomSignal)
{
    HostInstance a, b;
    start(a);
    start(b);
    std::vector<float> noise(4096);
    uint32_t seed = 1;
    for (float& s : noise)
        s = 0.5f * TestSupport::lcgNoise(seed);
    HostParameterChanges silent;
    silent.addChange(0, 0, 0.0); // Gain 0
    std::vector<float> l0, r0, l1, r1;
    render(a, noise, noise, 4096, l0, r0, &silent);
    render(b, noise, noise, 4096, l1, r1);
    EXPECT_EQ(peak(l0, 0, l0.size()), 0.0f);
    EXPECT_GT(peak(l1, 0, l1.size()), 1e-3f);
}

TEST_P(Bundle, BypassCopiesTheInput)
{
    HostInstance instance;
    start(instance);
    HostParameterChanges bypass;
    bypass.addChange(0x808, 0, 1.0);
    std::vector<float> left(1200), right(1200), outL, outR;
    for (size_t i = 0; i < left.size(); ++i)
    {
        left[i] = std::sin(0.01f * static_cast<float>(i));
        right[i] = -0.5f * left[i];
    }
    render(instance, left, right, 1200, outL, outR, &bypass);
    // Past the switch's crossfade (5 ms: 240 frames at 48 kHz) the input comes out unchanged.
    const auto fade = static_cast<size_t>(std::ceil(0.005 * rate()));
    for (size_t i = fade; i < left.size(); ++i)
    {
        ASSERT_EQ(outL[i], left[i]) << "frame " << i;
        ASSERT_EQ(outR[i], right[i]) << "frame " << i;
    }
    // A non-finite sample is not passed on, even bypassed.
    left[10] = std::nanf("");
    right[11] = -std::numeric_limits<float>::infinity();
    render(instance, left, right, 1200, outL, outR);
    EXPECT_EQ(outL[10], 0.0f);
    EXPECT_EQ(outR[11], 0.0f);
    EXPECT_EQ(outL[12], left[12]);
}

TEST_P(Bundle, NonFiniteInputGivesFiniteOutput)
{
    HostInstance instance;
    start(instance);
    std::vector<float> bad = {1.0f, std::nanf(""), std::numeric_limits<float>::infinity(), -1.0f};
    std::vector<float> outL, outR;
    render(instance, bad, bad, 4096, outL, outR);
    for (size_t i = 0; i < outL.size(); ++i)
        ASSERT_TRUE(std::isfinite(outL[i]) && std::isfinite(outR[i])) << i;
    EXPECT_GT(peak(outL, 0, outL.size()), 0.0f);
}

TEST_P(Bundle, TailCoversTheWholeRoomSignalAtEveryRate)
{
    // The loop runs every rate itself: once per class is enough (each rate-true one resamples
    // the bank at every rate, the slowest case of the suite under a sanitizer).
    if (GetParam().rateTrue && rate() != 96000.0)
        GTEST_SKIP() << "covered by the class's 96 kHz case";
    for (double rate : {8000.0, 22050.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0, 384000.0})
    {
        HostInstance instance;
        start(instance, rate);
        EXPECT_GE(instance.getProcessor()->getTailSamples(), uint32(roomSamples(rate))) << rate;
    }
}

TEST_P(Bundle, OutputIsSilentOnceTheReportedTailHasPassed)
{
    HostInstance instance;
    start(instance);
    const auto tail = static_cast<int32>(instance.getProcessor()->getTailSamples());
    ASSERT_GE(tail, roomSamples(rate()));
    std::vector<float> burst(kBlock, 0.9f), outL, outR;
    const int32 total = kBlock + tail + 4 * kBlock;
    render(instance, burst, burst, total, outL, outR);
    EXPECT_GT(peak(outL, 0, static_cast<size_t>(kBlock + tail)), 1e-3f);
    const auto quietFrom = static_cast<size_t>(kBlock + tail);
    EXPECT_LT(peak(outL, quietFrom, outL.size()), 1e-7f);
    EXPECT_LT(peak(outR, quietFrom, outR.size()), 1e-7f);
}

INSTANTIATE_TEST_SUITE_P(
    Classes, Bundle,
    ::testing::Values(ClassAtRate{"Tessaline48k", Tessaline::kProcessorCid, 48000.0, false},
                      ClassAtRate{"AnyRate44k1", Tessaline::kAnyRateCid, 44100.0, true},
                      ClassAtRate{"AnyRate96k", Tessaline::kAnyRateCid, 96000.0, true}),
    [](const ::testing::TestParamInfo<ClassAtRate>& param) { return std::string(param.param.name); });
