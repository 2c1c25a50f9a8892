// The rooms' run path against processFrame: runs of every length and phase, in place or not, a
// missing channel, non-finite and huge input, control changes (routing, gain, response) between
// runs and a smoothed control gliding, give the same output bits as the frames one by one.
#include "room/CTessaline.h"
#include "room/CTessalineAnyRate.h"

#include "support/Noise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr size_t kFrames = 20000;

// A control set to a plain value at a frame, before that frame is processed.
struct Change
{
    size_t frame;
    uint32_t control;
    float value;
};
// Every routing mode, the gain, and each kind of response change, at frames that fall at
// different places of both stages' blocks; the last Gain change glides when Gain is smoothed.
const Change kChanges[] = {
    {1500, CTessaline::kStereoMono, 1.0f}, {2999, CTessaline::kLeftRight, 1.0f},
    {4097, CTessaline::kStereoMono, 0.0f}, {5000, CTessaline::kPosition, 3.0f},
    {6143, CTessaline::kAbsFB, 2.5f},      {7001, CTessaline::kVolLR, 0.3f},
    {8190, CTessaline::kDecayType, 0.0f},  {9000, CTessaline::kLeftRight, 0.0f},
    {12345, CTessaline::kGain, 0.9f},      {15001, CTessaline::kAbsCF, 12.0f},
    {17000, CTessaline::kGain, 0.2f},
};

struct Signal
{
    std::vector<float> left, right;
};

// Noise with a silent stretch (longer than the tail of neither stage's block), a NaN, both
// infinities, a huge value and a negative zero.
Signal testSignal()
{
    uint32_t seed = 11;
    Signal s{std::vector<float>(kFrames), std::vector<float>(kFrames)};
    for (size_t n = 0; n < kFrames; ++n)
    {
        const bool quiet = n >= 10000 && n < 11500;
        s.left[n] = quiet ? 0.0f : 0.5f * TestSupport::lcgNoise(seed);
        s.right[n] = quiet ? 0.0f : 0.5f * TestSupport::lcgNoise(seed);
    }
    s.left[777] = std::numeric_limits<float>::quiet_NaN();
    s.right[778] = std::numeric_limits<float>::infinity();
    s.left[3001] = -std::numeric_limits<float>::infinity();
    s.right[3002] = 3.0e7f;
    s.left[3003] = -0.0f;
    return s;
}

struct Room
{
    const char* name;
    CPlugIn* (*create)();
    int rate;
};
const Room kRooms[] = {{"Tessaline 48 kHz", &createPlugIn, 48000},
                       {"Any Rate 44.1 kHz", &createAnyRatePlugIn, 44100},
                       {"Any Rate 96 kHz", &createAnyRatePlugIn, 96000}};

std::unique_ptr<CTessaline> makeRoom(const Room& room, bool smoothGain)
{
    std::unique_ptr<CTessaline> fx(static_cast<CTessaline*>(room.create()));
    fx->postConstruct();
    if (smoothGain)
    {
        CControlEntry* gain = fx->m_ControlList.controlAt(CTessaline::kGain);
        gain->bSmooth = true;
        gain->fSmoothTimeMs = 2.0f;
    }
    fx->m_nSampleRate = room.rate;
    fx->prepare();
    return fx;
}

void applyChanges(CPlugIn& fx, size_t from, size_t to)
{
    for (const Change& c : kChanges)
        if (c.frame >= from && c.frame < to)
            fx.setControlPlain(c.control, c.value);
}

// The reference: processFrame frame by frame, as the adapters feed it (a one-channel frame's
// second sample is zero).
Signal byFrames(CPlugIn& fx, const Signal& in, uint32_t channels)
{
    Signal out{std::vector<float>(kFrames), std::vector<float>(kFrames)};
    for (size_t n = 0; n < kFrames; ++n)
    {
        applyChanges(fx, n, n + 1);
        const float frame[2] = {in.left[n], channels == 2 ? in.right[n] : 0.0f};
        float result[2] = {};
        fx.processFrame(frame, result, channels, channels);
        out.left[n] = result[0];
        out.right[n] = channels == 2 ? result[1] : 0.0f;
    }
    return out;
}

struct RunShape
{
    uint32_t length; // frames per run …
    uint32_t phase;  // … after a first run of this many
    bool inPlace;    // the output written over the input
    bool noRight;    // the second channel's input missing (reads zeros)
};

// The candidate: runs of the given shape, cut at every change as the adapters cut them; a run
// the room declines goes frame by frame. Counts the frames the runs took.
Signal byRuns(CPlugIn& fx, const Signal& in, uint32_t channels, const RunShape& shape, size_t& taken)
{
    Signal out = in;
    if (shape.noRight)
        std::fill(out.right.begin(), out.right.end(), 0.0f);
    Signal scratch = in;
    taken = 0;
    size_t n = 0;
    while (n < kFrames)
    {
        applyChanges(fx, n, n + 1);
        size_t end = std::min(kFrames, n + (n == 0 && shape.phase > 0 ? shape.phase : shape.length));
        for (const Change& c : kChanges)
            if (c.frame > n && c.frame < end)
                end = c.frame;
        const auto count = static_cast<uint32_t>(end - n);
        float* outs[2] = {out.left.data() + n, out.right.data() + n};
        const float* ins[2] = {shape.inPlace ? outs[0] : in.left.data() + n,
                               shape.noRight ? nullptr : (shape.inPlace ? outs[1] : in.right.data() + n)};
        if (!shape.inPlace)
        {
            outs[0] = scratch.left.data() + n;
            outs[1] = scratch.right.data() + n;
        }
        if (fx.processFrameRun(ins, outs, channels, count))
            taken += count;
        else
            for (uint32_t k = 0; k < count; ++k)
            {
                const float frame[2] = {ins[0][k], channels == 2 && ins[1] ? ins[1][k] : 0.0f};
                float result[2] = {};
                fx.processFrame(frame, result, channels, channels);
                outs[0][k] = result[0];
                if (channels == 2)
                    outs[1][k] = result[1];
            }
        n = end;
    }
    Signal& result = shape.inPlace ? out : scratch;
    if (channels == 1)
        std::fill(result.right.begin(), result.right.end(), 0.0f);
    return result;
}

// The first frame whose bits differ, or kFrames.
size_t firstDifference(const std::vector<float>& a, const std::vector<float>& b)
{
    for (size_t n = 0; n < kFrames; ++n)
        if (std::memcmp(&a[n], &b[n], sizeof(float)) != 0)
            return n;
    return kFrames;
}

TEST(RoomRuns, EveryRunShapeGivesTheFramesBits)
{
    const RunShape kShapes[] = {
        {1, 0, false, false},    {5, 3, true, false},   {64, 0, false, false},      {127, 45, true, false},
        {256, 200, false, true}, {700, 1, true, false}, {4096, 2047, false, false},
    };
    const Signal in = testSignal();
    for (const Room& room : kRooms)
        for (uint32_t channels : {1u, 2u})
        {
            Signal reference;
            {
                auto fx = makeRoom(room, false);
                Signal input = in;
                reference = byFrames(*fx, input, channels);
            }
            for (const RunShape& shape : kShapes)
            {
                SCOPED_TRACE(::testing::Message()
                             << room.name << ", " << channels << " channel(s), runs of " << shape.length
                             << " after " << shape.phase << (shape.inPlace ? ", in place" : "")
                             << (shape.noRight ? ", no right input" : ""));
                auto fx = makeRoom(room, false);
                Signal expected = reference;
                if (shape.noRight && channels == 2)
                {
                    auto ref = makeRoom(room, false);
                    Signal silentRight = in;
                    std::fill(silentRight.right.begin(), silentRight.right.end(), 0.0f);
                    expected = byFrames(*ref, silentRight, channels);
                }
                size_t taken = 0;
                const Signal got = byRuns(*fx, in, channels, shape, taken);
                EXPECT_EQ(firstDifference(got.left, expected.left), kFrames) << "left";
                EXPECT_EQ(firstDifference(got.right, expected.right), kFrames) << "right";
                // A room at rest takes every run: the comparison is of the run path, not the fallback.
                EXPECT_EQ(taken, kFrames);
            }
        }
}

// With Gain smoothed, its glides go frame by frame (each step changes what processFrame reads)
// and runs resume once it rests: the same bits as frame by frame, with some runs declined.
TEST(RoomRuns, GlidingControlsGoFrameByFrame)
{
    const Signal in = testSignal();
    for (const Room& room : kRooms)
    {
        SCOPED_TRACE(room.name);
        auto ref = makeRoom(room, true);
        const Signal expected = byFrames(*ref, in, 2);
        auto fx = makeRoom(room, true);
        size_t taken = 0;
        const Signal got = byRuns(*fx, in, 2, RunShape{64, 17, false, false}, taken);
        EXPECT_EQ(firstDifference(got.left, expected.left), kFrames) << "left";
        EXPECT_EQ(firstDifference(got.right, expected.right), kFrames) << "right";
        EXPECT_LT(taken, kFrames);
        EXPECT_GT(taken, kFrames / 2);
    }
}

} // namespace
