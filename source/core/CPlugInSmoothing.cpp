// One-pole parameter smoothing: a smoothed control glides toward its target, one step per frame.
#include "CPlugIn.h"

#include <algorithm>
#include <cmath>

namespace {

// c = exp(-2*pi / (rate * seconds)) in single precision: a one-pole low-pass whose corner sits
// at 1/T hertz. A zero (or nonsensical) time or rate gives c = 0, reaching the target at once.
float smoothingCoefficient(int32_t sampleRate, float timeMs)
{
    const float period = static_cast<float>(sampleRate) * (timeMs * 0.001f);
    if (!(period > 0.0f) || !std::isfinite(period))
        return 0.0f;
    return std::exp(-6.2831855f / period);
}

// Starts a smoother at rest on v, so that no glide follows an activation.
void primeSmoother(CControlEntry& entry, float v, float c)
{
    entry.fSmoothA = c;
    entry.fSmoothB = 1.0f - c;
    entry.dSmoothA = static_cast<double>(c);
    entry.dSmoothB = static_cast<double>(1.0f - c);
    entry.fSmoothState = entry.fSmoothLast = v;
    entry.dSmoothState = entry.dSmoothLast = static_cast<double>(v);
    entry.fTarget = v;
}

// One float step into out; true while the output still moves. Once single-precision rounding
// stops moving the output, the exact target is written instead and nothing is reported.
bool stepFloat(CControlEntry& entry, float& out)
{
    const float y = entry.fTarget * entry.fSmoothB + entry.fSmoothState * entry.fSmoothA;
    entry.fSmoothState = y;
    if (y == entry.fSmoothLast)
    {
        out = entry.fTarget;
        return false;
    }
    entry.fSmoothLast = y;
    out = y;
    return true;
}

bool stepDouble(CControlEntry& entry, double& out)
{
    const double target = static_cast<double>(entry.fTarget);
    const double y = target * entry.dSmoothB + entry.dSmoothState * entry.dSmoothA;
    entry.dSmoothState = y;
    if (y == entry.dSmoothLast)
    {
        out = target;
        return false;
    }
    entry.dSmoothLast = y;
    out = y;
    return true;
}

} // namespace

// [main thread] Sets up every smoother for m_nSampleRate; subclasses call this after their own
// preparation.
bool CPlugIn::prepare()
{
    if (!m_ppControlTable)
        return true;
    const uint32_t count = std::min(m_ControlList.controlCount(), m_nControlCount);
    // Entries beyond the list's count are stepped all the same: they keep the flag up.
    bool smoothed = m_JoystickX.bSmooth || count < m_nControlCount;
    for (uint32_t p = 0; p < count; ++p)
    {
        CControlEntry* entry = m_ppControlTable[p];
        if (entry == nullptr || !entry->bSmooth)
            continue;
        smoothed = true;
        const float c = smoothingCoefficient(m_nSampleRate, entry->fSmoothTimeMs);
        if (entry->nDataType == kDataFloat && entry->pFloatVar != nullptr)
            primeSmoother(*entry, *entry->pFloatVar, c);
        else if (entry->nDataType == kDataDouble && entry->pDoubleVar != nullptr)
            primeSmoother(*entry, static_cast<float>(*entry->pDoubleVar), c);
    }
    for (CControlEntry* axis : {&m_JoystickX, &m_JoystickY})
        if (axis->bSmooth)
            primeSmoother(*axis, axis->fValue, smoothingCoefficient(m_nSampleRate, axis->fSmoothTimeMs));
    m_bHasSmoothers = smoothed;
    return true;
}

// [audio thread] No allocation: a walk over the table and two multiply-adds per smoothed control.
void CPlugIn::stepSmoothers()
{
    if (!m_ppControlTable)
        return;
    for (uint32_t p = 0; p < m_nControlCount; ++p)
    {
        CControlEntry* entry = m_ppControlTable[p];
        if (entry == nullptr || !entry->bSmooth)
            continue;
        if (entry->nDataType == kDataFloat && entry->pFloatVar != nullptr)
        {
            if (stepFloat(*entry, *entry->pFloatVar))
                controlChanged(entry->uId);
        }
        else if (entry->nDataType == kDataDouble && entry->pDoubleVar != nullptr)
        {
            if (stepDouble(*entry, *entry->pDoubleVar))
                controlChanged(entry->uId);
        }
    }
    // The X axis's flag smooths the joystick as a whole; its mix is reported on every step.
    if (m_JoystickX.bSmooth)
    {
        stepFloat(m_JoystickX, m_JoystickX.fValue);
        stepFloat(m_JoystickY, m_JoystickY.fValue);
        sendJoystickMix(m_JoystickX.bAxesRotated);
    }
}

// A smoother at rest repeats its last output: the next step computes the same value from the
// same state, and the variable already holds the target.
bool CPlugIn::smoothingAtRest() const
{
    if (m_JoystickX.bSmooth)
        return false;
    if (!m_ppControlTable || !m_bHasSmoothers)
        return true;
    for (uint32_t p = 0; p < m_nControlCount; ++p)
    {
        const CControlEntry* entry = m_ppControlTable[p];
        if (entry == nullptr || !entry->bSmooth)
            continue;
        if (entry->nDataType == kDataFloat && entry->pFloatVar != nullptr)
        {
            const float y = entry->fTarget * entry->fSmoothB + entry->fSmoothState * entry->fSmoothA;
            if (y != entry->fSmoothLast || *entry->pFloatVar != entry->fTarget)
                return false;
        }
        else if (entry->nDataType == kDataDouble && entry->pDoubleVar != nullptr)
        {
            const double y =
                static_cast<double>(entry->fTarget) * entry->dSmoothB + entry->dSmoothState * entry->dSmoothA;
            if (y != entry->dSmoothLast || *entry->pDoubleVar != static_cast<double>(entry->fTarget))
                return false;
        }
    }
    return true;
}
