// An idle room skips its work: after more than its tail of silence the effect stands in for
// silent blocks without running, and the output still equals, bit for bit, that of an instance
// that never skips, through parameter and preset changes, bypass and the return of sound.
#include "realtime/RealtimeRig.h"
#include "room/CTessaline.h"
#include "support/Noise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

using namespace AdapterTest;

namespace {

constexpr int64_t kLength = 162000; // frames at 48 kHz; the tail is 69887 frames
constexpr int64_t kSoundEnd = 4000; // noise, then silence …
constexpr int64_t kPreset = 80000;
constexpr int64_t kSoundAgain = 157001; // … then noise again, mid-way through any block

// Host events at a frame: changes land in the block holding it.
struct Change
{
    int64_t frame;
    ParamID id;
    double value;
};
const Change kChanges[] = {
    {6000, CTessaline::kAbsFB, 0.2},      // while the tail still rings
    {kPreset, kParamFactoryPresets, 1.0}, // once idle: a preset
    {153000, kParamBypass, 1.0},          // idle again: bypass on …
    {154000, kParamBypass, 0.0},          // … and off
};

enum class Host
{
    kSkipping,
    kNeverSkipping,
    kFlaggingSilence
};

struct Rendering
{
    std::vector<float> out[2];
    int64_t flaggedBefore = 0; // output frames flagged silent before the preset …
    int64_t flaggedAfter = 0;  // … and after it
    bool flagsLied = false;    // a flagged channel held something other than zeros
};

Rendering render(Host host, int32 block)
{
    RealtimeRig rig(block);
    static_cast<CTessaline*>(rig.processor->plugIn())->m_bNeverSkip = host == Host::kNeverSkipping;
    uint32_t seed = 7;
    Rendering run;
    for (auto& channel : run.out)
        channel.reserve(kLength);
    for (int64_t start = 0; start < kLength; start += block)
    {
        const int32 n = static_cast<int32>(std::min<int64_t>(block, kLength - start));
        rig.changes.clear();
        for (const Change& change : kChanges)
            if (change.frame >= start && change.frame < start + n)
                rig.changes.addChange(change.id, 0, change.value);
        ProcessData& data = rig.buffers.prepare(n);
        data.inputParameterChanges = &rig.changes;
        data.inputEvents = nullptr;
        bool silent = true;
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < n; ++i)
            {
                const int64_t t = start + i;
                const bool sound = t < kSoundEnd || t >= kSoundAgain;
                const float x = sound ? 0.5f * TestSupport::lcgNoise(seed) : 0.0f;
                silent = silent && !sound;
                rig.buffers.input(c)[i] = x;
            }
        if (host == Host::kFlaggingSilence && silent)
        {
            // Flagged channels are read as silence, whatever the buffer holds.
            for (int32 c = 0; c < 2; ++c)
                std::fill(rig.buffers.input(c), rig.buffers.input(c) + n, 0.25f);
            data.inputs[0].silenceFlags = 3;
        }
        else
            data.inputs[0].silenceFlags = 0;
        data.outputs[0].silenceFlags = 0xff; // stale flags the effect must not leave standing
        EXPECT_EQ(rig.processor->process(data), kResultOk);
        for (int32 c = 0; c < 2; ++c)
        {
            const float* out = rig.buffers.output(c);
            run.out[c].insert(run.out[c].end(), out, out + n);
            if ((data.outputs[0].silenceFlags >> c) & 1)
            {
                (start < kPreset ? run.flaggedBefore : run.flaggedAfter) += c == 0 ? n : 0;
                for (int32 i = 0; i < n; ++i)
                    run.flagsLied = run.flagsLied || out[i] != 0.0f || std::signbit(out[i]);
            }
        }
        EXPECT_EQ(data.outputs[0].silenceFlags >> 2, 0u);
    }
    return run;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b, int64_t& firstDifference)
{
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0)
        {
            firstDifference = static_cast<int64_t>(i);
            return false;
        }
    firstDifference = -1;
    return a.size() == b.size();
}

} // namespace

class IdleRoom : public ::testing::TestWithParam<int32>
{};

TEST_P(IdleRoom, SkippingIsBitExactAndFlagsOnlyZeros)
{
    const int32 block = GetParam();
    const Rendering reference = render(Host::kNeverSkipping, block);
    EXPECT_EQ(reference.flaggedBefore + reference.flaggedAfter, 0);
    for (Host host : {Host::kSkipping, Host::kFlaggingSilence})
    {
        const Rendering run = render(host, block);
        for (int c = 0; c < 2; ++c)
        {
            int64_t at = -1;
            EXPECT_TRUE(sameBits(run.out[c], reference.out[c], at))
                << "host " << static_cast<int>(host) << " channel " << c << " first differs at " << at;
        }
        EXPECT_FALSE(run.flagsLied);
        // Idle twice: before the preset and after it, once the new room has settled.
        EXPECT_GT(run.flaggedBefore, 0) << "host " << static_cast<int>(host);
        EXPECT_GT(run.flaggedAfter, 0) << "host " << static_cast<int>(host);
    }
    // The room really rang on after the sound stopped and came back with it.
    float tail = 0.0f, again = 0.0f;
    for (int64_t t = kSoundEnd; t < kSoundEnd + 60000; ++t)
        tail = std::max(tail, std::abs(reference.out[0][static_cast<std::size_t>(t)]));
    for (int64_t t = kSoundAgain + 300; t < kLength; ++t)
        again = std::max(again, std::abs(reference.out[0][static_cast<std::size_t>(t)]));
    EXPECT_GT(tail, 0.0f);
    EXPECT_GT(again, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, IdleRoom, ::testing::Values(1, 63, 500, 1024));
