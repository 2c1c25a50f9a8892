// CTessaline's processing: routing, gain, the room convolution, decay law, prepare, tail.
#include "room/CTessaline.h"

#include "engine/CPartitionedConvolver.h"
#include "room/ResponseBank.h"
#include "room/RoomConstants.h"
#include "support/CaseNames.h"
#include "support/Noise.h"
#include "support/SpectrumAccuracy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <ostream>
#include <vector>

namespace {
struct Frames
{
    std::vector<float> left, right;
};

using TestSupport::lcgNoise;

Frames render(CTessaline& fx, const Frames& in, uint32_t channels)
{
    Frames out{std::vector<float>(in.left.size(), 0.0f), std::vector<float>(in.left.size(), 0.0f)};
    for (size_t n = 0; n < in.left.size(); ++n)
    {
        const float frameIn[2] = {in.left[n], in.right[n]};
        float frameOut[2] = {0.0f, 0.0f};
        EXPECT_TRUE(fx.processFrame(frameIn, frameOut, channels, channels));
        out.left[n] = frameOut[0];
        out.right[n] = frameOut[1];
    }
    return out;
}

// A noise burst at the start of otherwise silent frames, on the chosen inputs.
Frames burst(size_t frames, bool left, bool right, uint32_t seed = 1)
{
    Frames in{std::vector<float>(frames, 0.0f), std::vector<float>(frames, 0.0f)};
    for (size_t n = 0; n < 64 && n < frames; ++n)
    {
        if (left)
            in.left[n] = lcgNoise(seed);
        if (right)
            in.right[n] = lcgNoise(seed);
    }
    return in;
}

// Noise on both inputs throughout; the seed carries on across calls.
Frames noiseFrames(size_t frames, uint32_t& seed)
{
    Frames in{std::vector<float>(frames), std::vector<float>(frames)};
    for (size_t n = 0; n < frames; ++n)
    {
        in.left[n] = lcgNoise(seed);
        in.right[n] = lcgNoise(seed);
    }
    return in;
}

double peak(const std::vector<float>& v)
{
    double m = 0.0;
    for (float x : v)
        m = std::max(m, static_cast<double>(std::fabs(x)));
    return m;
}

class TessalineProcessing : public ::testing::Test
{
protected:
    TessalineProcessing()
    {
        fx.postConstruct();
        fx.prepare();
    }

    std::unique_ptr<CPlugIn> m_pOwned{createPlugIn()};
    CTessaline& fx = static_cast<CTessaline&>(*m_pOwned);
};

TEST_F(TessalineProcessing, GainScalesTheRoomSignal)
{
    const Frames in = burst(3000, true, true);
    fx.setControlPlain(CTessaline::kGain, 0.0f);
    const Frames silent = render(fx, in, 2);
    EXPECT_EQ(peak(silent.left), 0.0);
    EXPECT_EQ(peak(silent.right), 0.0);

    fx.setControlPlain(CTessaline::kGain, 1.0f);
    fx.prepare();
    const Frames full = render(fx, in, 2);
    fx.setControlPlain(CTessaline::kGain, 0.5f);
    fx.prepare();
    const Frames half = render(fx, in, 2);
    ASSERT_GT(peak(full.left), 1e-3);
    for (size_t n = 0; n < in.left.size(); ++n)
    {
        ASSERT_EQ(half.left[n], full.left[n] * 0.5f) << n;
        ASSERT_EQ(half.right[n], full.right[n] * 0.5f) << n;
    }
}

struct RoutingCase
{
    const char* name;
    uint32_t stereoMono, leftRight, channels;
    bool leftIn, rightIn; // which inputs carry the burst
    bool leftOutSounds, rightOutSounds;
};
inline void PrintTo(const RoutingCase& c, std::ostream* os) { *os << c.name; }

class TessalineRouting : public TessalineProcessing, public ::testing::WithParamInterface<RoutingCase>
{};

TEST_P(TessalineRouting, InputReachesTheExpectedEars)
{
    const RoutingCase& c = GetParam();
    fx.setControlPlain(CTessaline::kStereoMono, static_cast<float>(c.stereoMono));
    fx.setControlPlain(CTessaline::kLeftRight, static_cast<float>(c.leftRight));
    const Frames out = render(fx, burst(2000, c.leftIn, c.rightIn), c.channels);
    EXPECT_EQ(peak(out.left) > 0.0, c.leftOutSounds);
    EXPECT_EQ(peak(out.right) > 0.0, c.rightOutSounds);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, TessalineRouting,
    ::testing::Values(RoutingCase{"StereoLeftOnly", 0, 0, 2, true, false, true, false},
                      RoutingCase{"StereoRightOnly", 0, 0, 2, false, true, false, true},
                      RoutingCase{"MonoLeftIgnoresRight", 1, 0, 2, false, true, false, false},
                      RoutingCase{"MonoLeftFeedsBoth", 1, 0, 2, true, false, true, true},
                      RoutingCase{"MonoRightFeedsBoth", 1, 1, 2, false, true, true, true},
                      RoutingCase{"MonoRightIgnoresLeft", 1, 1, 2, true, false, false, false},
                      RoutingCase{"OneChannelRunsLeftEarOnly", 0, 0, 1, true, true, true, false}),
    TestSupport::caseName<RoutingCase>);

TEST_F(TessalineProcessing, MonoGivesBothEarsTheSameInput)
{
    fx.setControlPlain(CTessaline::kStereoMono, 1.0f);
    fx.setControlPlain(CTessaline::kVolLR, 0.0f); // without LR the two ears' responses agree
    fx.prepare();
    const Frames out = render(fx, burst(3000, true, false), 2);
    ASSERT_GT(peak(out.left), 1e-3);
    for (size_t n = 0; n < out.left.size(); ++n)
        ASSERT_EQ(out.left[n], out.right[n]) << n;
}

// The ear's output is the input convolved with the whole shaped response, 255 samples late,
// across the seam between the early and the late stage at response sample 4096.
TEST_F(TessalineProcessing, OutputIsTheInputConvolvedWithTheShapedResponse)
{
    fx.setControlPlain(CTessaline::kPosition, 3.0f);
    fx.setControlPlain(CTessaline::kGain, 1.0f);
    fx.prepare();
    std::vector<double> h(kResponseLength), lateH(kResponseLength);
    fx.m_pEarlyRight->shapedResponse(0, kResponseLength, h.data());
    fx.m_pLateRight->shapedResponse(0, kResponseLength, lateH.data());
    for (int i = 0; i < kResponseLength; ++i)
        h[i] += lateH[i];

    const Frames in = burst(7000, false, true, 7);
    const Frames out = render(fx, in, 2);
    double worst = 0.0, scale = 0.0;
    for (int n = kRoomDelay; n < 7000; ++n)
    {
        double expected = 0.0;
        for (int q = 0; q < 64 && q <= n - kRoomDelay; ++q)
            expected += static_cast<double>(in.right[q]) * h[n - kRoomDelay - q];
        worst = std::max(worst, std::fabs(out.right[n] - expected));
        scale = std::max(scale, std::fabs(expected));
    }
    EXPECT_GT(scale, 0.1);
    EXPECT_LT(worst, 1e-5 * scale);
    for (int n = 0; n < kRoomDelay; ++n)
        ASSERT_EQ(out.right[n], 0.0f) << n;
}

// Which envelopes follow the exponential law (the others are hyperbolic).
struct Laws
{
    bool fb, lr, cf;
};

// The shaped response at index i under the given decay laws, computed from the bank.
double expectedResponse(const CTessaline& fx, int i, Laws exponential, int ear)
{
    const int p = static_cast<int>(fx.m_uPosition);
    auto env = [&](float a, bool exp) {
        const double fs = fx.m_nSampleRate;
        return exp ? std::exp(-(i * static_cast<double>(a) / fs)) : fs / (i * (a * 7.5 + 0.07) + fs);
    };
    const double fb = env(fx.m_fAbsFB, exponential.fb) * fx.m_fVolFB * roomResponseTable(fbTableOf(p))[i];
    const double lr = env(fx.m_fAbsLR, exponential.lr) * fx.m_fVolLR * roomResponseTable(lrTableOf(p))[i];
    const double cf = env(fx.m_fAbsCF, exponential.cf) * fx.m_fVolCF * roomResponseTable(cfTableOf(p))[i];
    return (ear == 0 ? fb + lr : fb - lr) + cf;
}

double expectedResponse(const CTessaline& fx, int i, bool exponential, int ear)
{
    return expectedResponse(fx, i, Laws{exponential, exponential, exponential}, ear);
}

// One index inside each of the four stages' regions (early 0 .. 4095, late 4096 ..).
struct Probe
{
    CPartitionedConvolver* stage;
    int index, ear;
};

std::vector<Probe> probes(CTessaline& fx)
{
    return {{fx.m_pEarlyLeft.get(), 1000, 0},
            {fx.m_pEarlyRight.get(), 1000, 1},
            {fx.m_pLateLeft.get(), 30000, 0},
            {fx.m_pLateRight.get(), 30000, 1}};
}

double responseAt(const Probe& probe)
{
    double got = 0.0;
    probe.stage->shapedResponse(probe.index, 1, &got);
    return got;
}

void expectEveryStageFollows(CTessaline& fx, Laws exponential)
{
    for (const Probe& probe : probes(fx))
        EXPECT_NEAR(responseAt(probe), expectedResponse(fx, probe.index, exponential, probe.ear), 1e-12)
            << "index " << probe.index << " ear " << probe.ear;
}

TEST_F(TessalineProcessing, PrepareBuildsEnvelopesWithTheStoredDecayType)
{
    const int early = 1000, late = 30000;
    double got = 0.0;
    fx.m_pLateLeft->shapedResponse(late, 1, &got);
    EXPECT_NEAR(got, expectedResponse(fx, late, false, 0), 1e-12);

    // A restored state writes the members, then the host prepares.
    fx.m_nCurveType = 0;
    fx.m_fAbsFB = 5.31f;
    fx.m_uPosition = 5;
    fx.prepare();
    fx.m_pEarlyRight->shapedResponse(early, 1, &got);
    EXPECT_NEAR(got, expectedResponse(fx, early, true, 1), 1e-12);
    fx.m_pLateLeft->shapedResponse(late, 1, &got);
    EXPECT_NEAR(got, expectedResponse(fx, late, true, 0), 1e-12);
    EXPECT_GT(std::fabs(expectedResponse(fx, late, true, 0) - expectedResponse(fx, late, false, 0)), 1e-6);
}

TEST_F(TessalineProcessing, DecayTypeChangeRebuildsAllEnvelopes)
{
    fx.setControlPlain(CTessaline::kDecayType, 0.0f);
    double got = 0.0;
    fx.m_pLateRight->shapedResponse(20000, 1, &got);
    EXPECT_NEAR(got, expectedResponse(fx, 20000, true, 1), 1e-12);
    fx.setControlPlain(CTessaline::kDecayType, 1.0f);
    fx.m_pLateRight->shapedResponse(20000, 1, &got);
    EXPECT_NEAR(got, expectedResponse(fx, 20000, false, 1), 1e-12);
}

// Renders in host blocks as the adapters do: a block of silent input is first offered to
// skipSilentFrames, which may stand in for it (output zeros). Counts the frames skipped.
Frames renderInBlocks(CTessaline& fx, const Frames& in, size_t block, size_t& skipped)
{
    Frames out{std::vector<float>(in.left.size(), 0.0f), std::vector<float>(in.left.size(), 0.0f)};
    for (size_t first = 0; first < in.left.size(); first += block)
    {
        const size_t n = std::min(block, in.left.size() - first);
        bool silent = true;
        for (size_t i = first; i < first + n; ++i)
            silent = silent && in.left[i] == 0.0f && in.right[i] == 0.0f;
        if (silent && fx.skipSilentFrames(static_cast<uint32_t>(n), 2))
        {
            skipped += n;
            continue;
        }
        for (size_t i = first; i < first + n; ++i)
        {
            const float frameIn[2] = {in.left[i], in.right[i]};
            float frameOut[2] = {0.0f, 0.0f};
            fx.processFrame(frameIn, frameOut, 2, 2);
            out.left[i] = frameOut[0];
            out.right[i] = frameOut[1];
        }
    }
    return out;
}

struct ImpulseCase
{
    uint32_t position;
    float absFB, absLR, absCF;
    int curve;
};

// An impulse gives each ear its whole shaped response, from sample 255 on and nothing before,
// across the seam of the two stages (response sample 4096) and the block seams of each, whatever
// the host's block size; and silence after it, through the skipped blocks too.
TEST_F(TessalineProcessing, ImpulseGivesTheShapedResponse255SamplesLateAcrossTheStageSeams)
{
    fx.setControlPlain(CTessaline::kGain, 1.0f);
    const size_t frames = kRoomDelay + kResponseLength + 30000;
    Frames impulse{std::vector<float>(frames, 0.0f), std::vector<float>(frames, 0.0f)};
    impulse.left[0] = impulse.right[0] = 1.0f;
    for (const ImpulseCase& k : {ImpulseCase{3, 7.0f, 7.0f, 7.0f, 1}, ImpulseCase{0, 2.0f, 9.0f, 4.5f, 0},
                                 ImpulseCase{10, 12.0f, 0.5f, 6.0f, 1}, ImpulseCase{6, 0.5f, 3.0f, 1.0f, 0}})
    {
        fx.setControlPlain(CTessaline::kPosition, static_cast<float>(k.position));
        fx.setControlPlain(CTessaline::kDecayType, static_cast<float>(k.curve));
        fx.setControlPlain(CTessaline::kAbsFB, k.absFB);
        fx.setControlPlain(CTessaline::kAbsLR, k.absLR);
        fx.setControlPlain(CTessaline::kAbsCF, k.absCF);
        std::vector<double> h[2];
        double peakH = 0.0;
        for (int ear : {0, 1})
            for (int i = 0; i < kResponseLength; ++i)
            {
                h[ear].push_back(expectedResponse(fx, i, k.curve == 0, ear));
                peakH = std::max(peakH, std::fabs(h[ear].back()));
            }
        // Round-off of the spectra, and of the float output itself.
        const double bound = TestSupport::spectrumBound(1e-11, peakH) + 1e-7 * peakH;
        for (size_t block : {1u, 64u, 1000u, 4096u})
        {
            fx.prepare();
            size_t skipped = 0;
            const Frames out = renderInBlocks(fx, impulse, block, skipped);
            for (int ear : {0, 1})
            {
                const std::vector<float>& y = ear == 0 ? out.left : out.right;
                for (size_t n = 0; n < kRoomDelay; ++n)
                    ASSERT_EQ(y[n], 0.0f) << "ear " << ear << " block " << block << " n " << n;
                double worst = 0.0;
                size_t worstAt = 0;
                for (size_t n = kRoomDelay; n < frames; ++n)
                {
                    const size_t i = n - kRoomDelay;
                    const double expected = i < static_cast<size_t>(kResponseLength) ? h[ear][i] : 0.0;
                    const double error = std::fabs(y[n] - expected);
                    if (error > worst)
                    {
                        worst = error;
                        worstAt = i;
                    }
                }
                EXPECT_LE(worst, bound) << "position " << k.position << " curve " << k.curve << " ear " << ear
                                        << " block " << block << ": worst at response sample " << worstAt;
            }
            EXPECT_GT(skipped, 0u) << "block " << block << ": the idle room skips its silent blocks";
        }
    }
}

struct ChangeCase
{
    const char* name;
    uint32_t id;
    float value;
};
inline void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.name; }

class TessalineControlChange : public TessalineProcessing, public ::testing::WithParamInterface<ChangeCase>
{};

// A control change alone, without a prepare, reshapes the responses of all four stages.
TEST_P(TessalineControlChange, ReachesEveryStage)
{
    std::vector<double> before;
    for (const Probe& probe : probes(fx))
        before.push_back(responseAt(probe));
    fx.setControlPlain(GetParam().id, GetParam().value);
    expectEveryStageFollows(fx, Laws{false, false, false});
    for (size_t k = 0; k < before.size(); ++k)
        EXPECT_NE(responseAt(probes(fx)[k]), before[k]) << "probe " << k;
}

INSTANTIATE_TEST_SUITE_P(Controls, TessalineControlChange,
                         ::testing::Values(ChangeCase{"Position", CTessaline::kPosition, 3.0f},
                                           ChangeCase{"VolLR", CTessaline::kVolLR, 0.3f},
                                           ChangeCase{"VolFB", CTessaline::kVolFB, 0.4f},
                                           ChangeCase{"VolCF", CTessaline::kVolCF, 0.6f},
                                           ChangeCase{"AbsLR", CTessaline::kAbsLR, 2.5f},
                                           ChangeCase{"AbsFB", CTessaline::kAbsFB, 11.0f},
                                           ChangeCase{"AbsCF", CTessaline::kAbsCF, 4.5f}),
                         TestSupport::caseName<ChangeCase>);

// An absorption change applies the stored decay law, to its own envelope only.
TEST_F(TessalineProcessing, AbsorptionChangeAppliesTheStoredLawToItsEnvelope)
{
    fx.m_nCurveType = 0; // stored, not yet applied
    fx.setControlPlain(CTessaline::kAbsLR, 3.0f);
    expectEveryStageFollows(fx, Laws{false, true, false});
    fx.setControlPlain(CTessaline::kAbsCF, 9.0f);
    expectEveryStageFollows(fx, Laws{false, true, true});
    fx.setControlPlain(CTessaline::kAbsFB, 5.0f);
    expectEveryStageFollows(fx, Laws{true, true, true});
}

// Distinct absorptions show that each envelope keeps its own when the law changes.
TEST_F(TessalineProcessing, DecayTypeChangeKeepsEachEnvelopesAbsorption)
{
    fx.setControlPlain(CTessaline::kAbsFB, 2.0f);
    fx.setControlPlain(CTessaline::kAbsLR, 6.0f);
    fx.setControlPlain(CTessaline::kAbsCF, 12.0f);
    fx.setControlPlain(CTessaline::kDecayType, 0.0f);
    expectEveryStageFollows(fx, Laws{true, true, true});
    fx.setControlPlain(CTessaline::kDecayType, 1.0f);
    expectEveryStageFollows(fx, Laws{false, false, false});
}

// Changes reach the running room without a prepare: with every volume at 0 the output falls
// silent once the late stage has renewed all its partitions (34 blocks of 2048) and its
// 256-sample delay has passed, and stays silent. The change comes on a late block boundary;
// one in mid-block adds the rest of that block, whose partition is gathered half old, half new.
TEST_F(TessalineProcessing, VolumesAtZeroSilenceTheRunningRoom)
{
    uint32_t seed = 5;
    ASSERT_GT(peak(render(fx, noiseFrames(2 * 2048, seed), 2).left), 1e-3);

    for (uint32_t id : {CTessaline::kVolLR, CTessaline::kVolFB, CTessaline::kVolCF})
        fx.setControlPlain(id, 0.0f);
    const size_t settle = 34 * 2048 + 256;
    const Frames out = render(fx, noiseFrames(settle + 8192, seed), 2);
    for (size_t n = settle; n < out.left.size(); ++n)
    {
        ASSERT_EQ(out.left[n], 0.0f) << n;
        ASSERT_EQ(out.right[n], 0.0f) << n;
    }
}

TEST_F(TessalineProcessing, PrepareStartsEveryRenderAfresh)
{
    Frames in = burst(9000, true, true, 3);
    const Frames first = render(fx, in, 2);
    fx.prepare();
    const Frames second = render(fx, in, 2);
    ASSERT_GT(peak(first.left), 1e-3);
    EXPECT_EQ(std::memcmp(first.left.data(), second.left.data(), 9000 * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(first.right.data(), second.right.data(), 9000 * sizeof(float)), 0);
}

TEST_F(TessalineProcessing, TailCoversTheWholeRoomSignal)
{
    for (int32_t rate : {44100, 48000, 96000, 192000})
    {
        fx.m_nSampleRate = rate;
        fx.prepare();
        const long samples = static_cast<long>(static_cast<double>(fx.m_fTailTimeMs) / 1000.0 * rate);
        EXPECT_GE(samples, kRoomDelay + kResponseLength) << rate;
        EXPECT_LE(samples, kRoomDelay + kResponseLength + rate / 1000 + 1) << rate;
    }
}

TEST_F(TessalineProcessing, NonFiniteInputCountsAsSilence)
{
    Frames clean = burst(5000, true, true, 9);
    Frames dirty = clean;
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity()};
    for (int i = 0; i < 3; ++i)
    {
        dirty.left[100 + i] = bad[i];
        dirty.right[200 + i] = bad[i];
        clean.left[100 + i] = 0.0f;
        clean.right[200 + i] = 0.0f;
    }
    const Frames expected = render(fx, clean, 2);
    fx.prepare();
    const Frames got = render(fx, dirty, 2);
    for (size_t n = 0; n < got.left.size(); ++n)
    {
        ASSERT_TRUE(std::isfinite(got.left[n]) && std::isfinite(got.right[n])) << n;
        ASSERT_EQ(got.left[n], expected.left[n]) << n;
        ASSERT_EQ(got.right[n], expected.right[n]) << n;
    }
}

// The largest floats are finite, yet convolved with the room they would overflow the output to
// infinity; the input is held far above any real signal instead, so the output stays finite.
TEST_F(TessalineProcessing, HugeFiniteInputKeepsTheOutputFinite)
{
    fx.m_fGain = 1.0f;
    Frames frames = burst(5000, true, true, 11);
    for (int i = 0; i < 40; ++i)
    {
        frames.left[300 + i] = (i % 2 ? -1.0f : 1.0f) * std::numeric_limits<float>::max();
        frames.right[300 + i] = std::numeric_limits<float>::max();
    }
    const Frames got = render(fx, frames, 2);
    float peak = 0.0f;
    for (size_t n = 0; n < got.left.size(); ++n)
    {
        ASSERT_TRUE(std::isfinite(got.left[n]) && std::isfinite(got.right[n])) << n;
        peak = std::max(peak, std::fabs(got.left[n]));
    }
    EXPECT_GT(peak, 1.0f); // the burst is loud, not dropped
}

TEST_F(TessalineProcessing, IgnoredControlIdsChangeNothing)
{
    double before = 0.0, after = 0.0;
    fx.m_pEarlyLeft->shapedResponse(500, 1, &before);
    for (uint32_t id : {0u, 9u, 10u, 11u, 1000u})
        EXPECT_TRUE(fx.controlChanged(id));
    fx.m_pEarlyLeft->shapedResponse(500, 1, &after);
    EXPECT_EQ(before, after);
}

TEST_F(TessalineProcessing, WholeBufferPathsCopyAndRejectMissingBuffers)
{
    float a[4] = {1, 2, 3, 4}, b[4] = {5, 6, 7, 8}, o1[4] = {}, o2[4] = {};
    float* in[2] = {a, b};
    float* out[2] = {o1, o2};
    EXPECT_TRUE(fx.processBuffers(in, out, 2, 4));
    EXPECT_EQ(o2[3], 8.0f);
    EXPECT_TRUE(fx.processInterleavedBuffer(a, o1, 0, 0, 4));
    EXPECT_EQ(o1[2], 3.0f);
    EXPECT_FALSE(fx.processBuffers(nullptr, out, 2, 4));
    EXPECT_FALSE(fx.processFrame(nullptr, o1, 2, 2));
}

} // namespace
