// The LV2 plug-in hands the room each block's frames outside a crossfade as one run: its output
// equals that of a room taken frame by frame, through control-port moves, a smoothed control's
// glide, the enabled port's crossfades and in-place buffers, at several block sizes and phases.
#include "lv2/Lv2Plugin.h"

#include "room/CTessalineAnyRate.h"
#include "support/Noise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

using namespace TessalineLv2;

namespace {

constexpr uint32_t kFrames = 9000;
constexpr uint32_t kMaxBlock = 1024;

// A room whose Gain glides for about a hundred frames after each change, taking runs or not.
template <CPlugIn* (*Create)(), bool FrameByFrame>
CPlugIn* smoothedRoom()
{
    auto* room = static_cast<CTessaline*>(Create());
    room->m_bFrameByFrame = FrameByFrame;
    CControlEntry* gain = room->m_ControlList.controlAt(CTessaline::kGain);
    gain->bSmooth = true;
    gain->fSmoothTimeMs = 1.0f;
    return room;
}

// One instance with every port connected to its own buffer (the audio input to the output's
// when in place).
struct Instance
{
    std::unique_ptr<Lv2Plugin> plugin;
    PortLayout layout{controlPortCount()};
    std::vector<float> controls = std::vector<float>(controlPortCount());
    float enabled = 1.0f;
    float latency = 0.0f;
    std::vector<float> in[2], out[2];

    Instance(double rate, Lv2Plugin::PlugInCreator creator, bool inPlace)
        : plugin(Lv2Plugin::create(rate, nullptr, creator))
    {
        std::unique_ptr<CPlugIn> defaults(createPlugIn());
        defaults->postConstruct();
        for (uint32_t k = 0; k < controls.size(); ++k)
        {
            controls[k] = defaults->getControlValue(k);
            plugin->connect(k, &controls[k]);
        }
        plugin->connect(layout.enabled(), &enabled);
        plugin->connect(layout.latency(), &latency);
        for (uint32_t c = 0; c < 2; ++c)
        {
            in[c].assign(kMaxBlock, 0.0f);
            out[c].assign(kMaxBlock, 0.0f);
            plugin->connect(layout.inLeft() + c, inPlace ? out[c].data() : in[c].data());
            plugin->connect(layout.outLeft() + c, out[c].data());
        }
        plugin->activate();
    }
    float* input(uint32_t c, bool inPlace) { return inPlace ? out[c].data() : in[c].data(); }
};

struct RunCase
{
    const char* room;
    double rate;
    Lv2Plugin::PlugInCreator runs, frames;
    uint32_t block; // frames per block …
    uint32_t phase; // … after a first block of this many
    bool inPlace;
};

// Whether the block of n frames from start holds a multiple of m.
bool holdsMultiple(uint32_t start, uint32_t n, uint32_t m)
{
    return start % m == 0 || start / m != (start + n - 1) / m;
}

// The port moves of the block of n frames from start (the bth): Gain every 320 frames, one of the
// response controls every 448, the routing every 704, and the room off at block 13 and on again
// at block 17.
void moveControls(Instance& instance, uint32_t b, uint32_t start, uint32_t n)
{
    if (holdsMultiple(start, n, 320))
        instance.controls[CTessaline::kGain] = 0.2f + 0.1f * static_cast<float>(start / 320 % 7);
    if (holdsMultiple(start, n, 448))
    {
        const uint32_t k = CTessaline::kVolLR + start / 448 % 6;
        instance.controls[k] =
            k % 2 == 0 ? 0.1f * static_cast<float>(b % 10) : 1.0f + static_cast<float>(b % 10);
    }
    if (holdsMultiple(start, n, 704))
        instance.controls[start / 704 % 2 == 0 ? CTessaline::kStereoMono : CTessaline::kLeftRight] =
            static_cast<float>(start / 1408 % 2);
    if (b == 13 || b == 17)
        instance.enabled = b == 13 ? 0.0f : 1.0f;
}

TEST(Lv2Runs, RunsGiveTheFramesOutput)
{
    using Original = CPlugIn* (*)();
    constexpr Original original = &createPlugIn;
    constexpr Original anyRate = &createAnyRatePlugIn;
    const RunCase kCases[] = {
        {"Tessaline", 48000.0, &smoothedRoom<original, false>, &smoothedRoom<original, true>, 1, 0, false},
        {"Tessaline", 48000.0, &smoothedRoom<original, false>, &smoothedRoom<original, true>, 64, 0, true},
        {"Tessaline", 48000.0, &smoothedRoom<original, false>, &smoothedRoom<original, true>, 333, 45, false},
        {"Tessaline", 48000.0, &smoothedRoom<original, false>, &smoothedRoom<original, true>, 1024, 1000,
         true},
        {"Any Rate", 44100.0, &smoothedRoom<anyRate, false>, &smoothedRoom<anyRate, true>, 256, 17, false},
    };
    for (const RunCase& c : kCases)
    {
        SCOPED_TRACE(::testing::Message() << c.room << " at " << c.rate << " Hz, blocks of " << c.block
                                          << " after " << c.phase << (c.inPlace ? ", in place" : ""));
        Instance runs(c.rate, c.runs, c.inPlace);
        Instance frames(c.rate, c.frames, c.inPlace);
        ASSERT_TRUE(runs.plugin && frames.plugin);
        uint32_t seed = 3;
        uint32_t b = 0;
        for (uint32_t start = 0; start < kFrames; ++b)
        {
            const uint32_t n = std::min(kFrames - start, b == 0 && c.phase > 0 ? c.phase : c.block);
            for (uint32_t ch = 0; ch < 2; ++ch)
                for (uint32_t i = 0; i < n; ++i)
                {
                    const float x = (start + i) % 1000 == 999 ? std::numeric_limits<float>::infinity()
                                                              : 0.5f * TestSupport::lcgNoise(seed);
                    runs.input(ch, c.inPlace)[i] = x;
                    frames.input(ch, c.inPlace)[i] = x;
                }
            for (Instance* instance : {&runs, &frames})
            {
                moveControls(*instance, b, start, n);
                instance->plugin->run(n);
            }
            for (uint32_t ch = 0; ch < 2; ++ch)
                for (uint32_t i = 0; i < n; ++i)
                    ASSERT_EQ(std::memcmp(&runs.out[ch][i], &frames.out[ch][i], sizeof(float)), 0)
                        << "channel " << ch << ", frame " << start + i << " (block " << b
                        << "): " << runs.out[ch][i] << " against " << frames.out[ch][i];
            start += n;
        }
    }
}

} // namespace
