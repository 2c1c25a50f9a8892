// The fade that ends every table of the room-response bank, so the room's response never stops
// with a cut at any setting or sample rate.
//
// The tables decay slowly by themselves (their energy falls about 10 dB every 18,000 samples) and
// leave the audible decay to the envelopes, which run in seconds. But the tables are played
// sample for sample: at 384 kHz the 69632 samples last 0.18 s, too short for any envelope to act,
// and with the absorptions at 0 under the exponential law the envelopes are exactly 1. Only the
// tables' own decay, in samples, reaches the response's last sample at every rate and setting, so
// the end is faded there, in the bank.
//
// The fade is short and late because the default room must not change: its energy decay curve
// reaches -50 dB only around sample 47,000 (at 44.1 and 48 kHz) and still depends on the energy
// left after sample 62,000, so a fade starting earlier would bend the room users know. Over its
// last kTailFadeLength samples a table falls by a further depth * x^exponent dB (x from 0 to 1):
// it leaves the natural decay at zero slope, falls about 4 dB per 10 ms at 44.1 kHz where a tail
// without absorption crosses -60 dB (the noise of the tail adds up to 2 dB more from one 10 ms
// window to the next), and is 19 dB down when the last 10 ms at 384 kHz (3840 samples) begin,
// which brings that window's level below -60 dB too. A table ends 65 dB below its unfaded
// level, never at exactly zero.
#pragma once

#include "room/RoomConstants.h"

#include <cmath>

constexpr int kTailFadeLength = 7680;
constexpr int kTailFadeStart = kResponseLength - kTailFadeLength; // 61952
constexpr double kTailFadeDepthDb = 65.0;
constexpr double kTailFadeExponent = 1.75;

// The factor the fade applies to response index i: 1 before the fade, 10^(-65/20) at the last
// sample (i = kResponseLength - 1).
inline double tailFadeGain(int i)
{
    if (i < kTailFadeStart)
        return 1.0;
    const double x = static_cast<double>(i + 1 - kTailFadeStart) / kTailFadeLength;
    return std::pow(10.0, -kTailFadeDepthDb / 20.0 * std::pow(x, kTailFadeExponent));
}
