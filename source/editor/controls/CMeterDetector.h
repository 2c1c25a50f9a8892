// Level detector of a meter view: a one-pole envelope with separate attack and release
// coefficients, run once per repaint, on a peak, mean-square or RMS reading, optionally shown
// on a 60 dB scale.
#pragma once

#include <cstdint>

namespace VSTGUI {

struct CMeterDetector
{
    enum Mode : int32_t
    {
        kPeak = 0,
        kMeanSquare = 1,
        kRms = 2,
    };

    // ln(0.367): after the set time 36.7 percent of a step is left (an analog meter's feel).
    static constexpr float kAnalogLog = -1.0023934841156006f;
    // ln(0.01): after the set time 1 percent is left.
    static constexpr float kDigitalLog = -4.605170249938965f;

    int32_t m_nMode = kPeak;
    float m_fAttackCoef = 0.0f;
    float m_fReleaseCoef = 0.0f;
    float m_fAttackMs = 0.0f;
    float m_fReleaseMs = 0.0f;
    float m_fRate = 44100.0f;
    float m_fEnvelope = 0.0f;
    bool m_bAnalogTimeConstant = false;
    bool m_bDecibels = false;

    void init(float rate, float attackMs, float releaseMs, bool analog, int32_t mode, bool decibels);
    // One update with the input level; returns the meter position, 0 to 1.
    float detect(float x);
};

} // namespace VSTGUI
