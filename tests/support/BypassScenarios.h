// The bypass switch heard from outside, the same for every plug-in format: a format renders a
// mono test signal (on both input channels) with the bypass switching at given frames, and the
// checks below judge what comes out. Rate 48 kHz.
#pragma once

#include "support/Noise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace TestSupport {

struct BypassSwitch
{
    int32_t frame; // from this frame on (formats without sample accuracy: a block boundary)
    bool bypass;
};

struct StereoOut
{
    std::vector<float> left, right;
};

// Renders `input` on both channels, room on at the start, the switches applied as given.
using BypassRender =
    std::function<StereoOut(const std::vector<float>& input, const std::vector<BypassSwitch>& switches)>;

constexpr int32_t kBypassRate = 48000;
constexpr int32_t kBypassFade = 240; // the switch's crossfade: 5 ms at 48 kHz

inline float peakOf(const std::vector<float>& v, size_t from, size_t to)
{
    float peak = 0.0f;
    for (size_t i = from; i < std::min(to, v.size()); ++i)
        peak = std::max(peak, std::fabs(v[i]));
    return peak;
}

inline float largestStep(const std::vector<float>& v, size_t from, size_t to)
{
    float step = 0.0f;
    for (size_t i = std::max<size_t>(from, 1); i < std::min(to, v.size()); ++i)
        step = std::max(step, std::fabs(v[i] - v[i - 1]));
    return step;
}

// One second of noise into the room, then two seconds bypassed on silence, then the room back
// on, still on silence: after the bypass's fade-out nothing at all may come out, least of all
// the tail of the noise. `on` and `off` are the switch frames (block boundaries for formats
// that switch per block).
inline void expectNoGhost(const BypassRender& render, int32_t on, int32_t off, int32_t rate = kBypassRate)
{
    const int32_t fade = kBypassFade * rate / kBypassRate + 1; // 5 ms at the session's rate
    std::vector<float> input(static_cast<size_t>(off + 2 * kBypassRate), 0.0f);
    uint32_t state = 7;
    for (int32_t i = 0; i < on; ++i)
        input[static_cast<size_t>(i)] = 0.5f * lcgNoise(state);
    const StereoOut out = render(input, {{on, true}, {off, false}});
    ASSERT_EQ(out.left.size(), input.size());
    EXPECT_GT(peakOf(out.left, static_cast<size_t>(on - kBypassRate / 2), static_cast<size_t>(on)), 0.01f)
        << "the room did not sound before the bypass";
    const auto quiet = static_cast<size_t>(on + fade);
    EXPECT_EQ(peakOf(out.left, quiet, out.left.size()), 0.0f) << "sound after the bypass began";
    EXPECT_EQ(peakOf(out.right, quiet, out.right.size()), 0.0f) << "sound after the bypass began";
    EXPECT_EQ(peakOf(out.left, static_cast<size_t>(off), out.left.size()), 0.0f)
        << "the room replayed what it heard before the bypass";
}

// A steady 1 kHz sine, the room long in its steady state, bypassed at `on` and back at `off`:
// no sample-to-sample step within 100 ms of a switch may be larger than the largest step the
// sine or the steady room signal takes on its own. A hard cut jumps by up to the sum of both
// amplitudes, about eight times that.
inline void expectSmoothSwitches(const BypassRender& render, int32_t on, int32_t off,
                                 int32_t rate = kBypassRate)
{
    const int32_t fade = kBypassFade * rate / kBypassRate + 1; // 5 ms at the session's rate
    const double w = 2.0 * M_PI * 1000.0 / kBypassRate;
    std::vector<float> input(static_cast<size_t>(off + kBypassRate / 2));
    for (size_t i = 0; i < input.size(); ++i)
        input[i] = static_cast<float>(0.5 * std::sin(w * static_cast<double>(i)));
    const StereoOut out = render(input, {{on, true}, {off, false}});
    ASSERT_EQ(out.left.size(), input.size());
    const float dry = largestStep(input, 0, input.size());
    const float room = largestStep(out.left, static_cast<size_t>(on - 4800), static_cast<size_t>(on));
    ASSERT_GT(room, 0.0f) << "the room did not sound before the bypass";
    const float bound = std::max(dry, room);
    const size_t window = kBypassRate / 10;
    for (const int32_t at : {on, off})
        for (const auto* channel : {&out.left, &out.right})
        {
            const float step =
                largestStep(*channel, static_cast<size_t>(at - 1), static_cast<size_t>(at) + window);
            EXPECT_LE(step, bound) << "switch at frame " << at << ": step " << step << ", sine's own " << dry
                                   << ", room's own " << room;
        }
    // While bypassed, past the fade, the input comes out unchanged.
    for (size_t i = static_cast<size_t>(on + fade); i < static_cast<size_t>(off); ++i)
        ASSERT_EQ(out.left[i], input[i]) << "frame " << i;
}

} // namespace TestSupport
