#include "CMeterDetector.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace VSTGUI {

namespace {

// A time of zero (or a nonsense rate) gives a coefficient of 0: the envelope follows at once
// instead of turning into NaN.
float coefficient(float k, float rate, float timeMs)
{
    const double steps = static_cast<double>(rate) * static_cast<double>(timeMs) * 0.001;
    if (!(steps > 0.0) || !std::isfinite(steps))
        return 0.0f;
    return static_cast<float>(std::exp(static_cast<double>(k) / steps));
}

} // namespace

void CMeterDetector::init(float rate, float attackMs, float releaseMs, bool analog, int32_t mode,
                          bool decibels)
{
    m_fRate = rate;
    m_fAttackMs = attackMs;
    m_fReleaseMs = releaseMs;
    m_bAnalogTimeConstant = analog;
    m_nMode = mode;
    m_bDecibels = decibels;
    m_fEnvelope = 0.0f;
    const float k = analog ? kAnalogLog : kDigitalLog;
    m_fAttackCoef = coefficient(k, rate, attackMs);
    m_fReleaseCoef = coefficient(k, rate, releaseMs);
}

float CMeterDetector::detect(float x)
{
    float in = std::fabs(x);
    if (!std::isfinite(in))
        in = 0.0f;
    if (m_nMode == kMeanSquare || m_nMode == kRms)
        in *= in;
    const float coef = in > m_fEnvelope ? m_fAttackCoef : m_fReleaseCoef;
    float env = coef * (m_fEnvelope - in) + in;
    // A decaying envelope would otherwise end in subnormals, slow on every repaint.
    if (env != 0.0f && std::fabs(env) < FLT_MIN)
        env = 0.0f;
    env = std::clamp(env, 0.0f, 1.0f);
    m_fEnvelope = env;

    if (!m_bDecibels)
        return env;
    const float y = m_nMode == kRms ? std::sqrt(env) : env;
    if (!(y > 0.0f))
        return 0.0f;
    return (std::max(-60.0f, 20.0f * std::log10(y)) + 60.0f) / 60.0f;
}

} // namespace VSTGUI
