// The vector joystick: two axis positions mixed into four corner weights and two axis values.
#include "CPlugIn.h"

#include <algorithm>
#include <cmath>

namespace {

// The mix's own rounded root of two; the corner weights depend on exactly this value.
constexpr double kRoot2 = 1.41421356;

double limitGrid(double v) { return std::clamp(v * 127.0, -128.0, 127.0) + 127.0; }

} // namespace

CPlugIn::JoystickMix CPlugIn::mixJoystick(double x, double y, bool rotated)
{
    JoystickMix mix{};
    // Axis positions: the rotated stick already moves along the A-C and D-B diagonals.
    const double u = rotated ? x : (x - y) / kRoot2 / kRoot2;
    const double v = rotated ? y : (x + y) / kRoot2 / kRoot2;
    mix.ac = (u + 1.0) * 0.5;
    mix.bd = (v + 1.0) * 0.5;

    // Grid position on a 0..254 square whose centre is 127.
    const double gx = limitGrid(rotated ? (x * kRoot2 + y * kRoot2) / kRoot2 : x);
    const double gy = limitGrid(rotated ? (y * kRoot2 - x * kRoot2) / kRoot2 : y);
    if (gx == 127.0 && gy == 127.0)
    {
        mix.a = mix.b = mix.c = mix.d = 0.25;
        return mix;
    }
    const double b = gx * gy / 645.0;
    const double c = (255.0 - gy) * gx / 645.0;
    const double d = (255.0 - gx) * (255.0 - gy) / 645.0;
    mix.a = std::clamp((100.0 - b - c - d) / 100.0, 0.0, 1.0);
    mix.b = std::clamp(b / 100.0, 0.0, 1.0);
    mix.c = std::clamp(c / 100.0, 0.0, 1.0);
    mix.d = std::clamp(d / 100.0, 0.0, 1.0);
    return mix;
}

void CPlugIn::getJoystickValues(float& x, float& y) const
{
    x = m_JoystickX.fValue;
    y = m_JoystickY.fValue;
}

// Stores a position clamped to -1..1 into the smoother's target or the record; a non-finite
// position is refused and leaves the axis as it was.
bool CPlugIn::storeJoystickPosition(CControlEntry& axis, float position, bool toTarget)
{
    if (!std::isfinite(position))
        return false;
    (toTarget ? axis.fTarget : axis.fValue) = std::clamp(position, -1.0f, 1.0f);
    return true;
}

void CPlugIn::sendJoystickMix(bool rotated)
{
    const JoystickMix mix = mixJoystick(m_JoystickX.fValue, m_JoystickY.fValue, rotated);
    joystickChanged(static_cast<float>(mix.a), static_cast<float>(mix.b), static_cast<float>(mix.c),
                    static_cast<float>(mix.d), static_cast<float>(mix.ac), static_cast<float>(mix.bd));
}

void CPlugIn::setJoystickX(float x, bool rotated)
{
    if (!storeJoystickPosition(m_JoystickX, x, m_JoystickX.bSmooth))
        return;
    m_JoystickX.bAxesRotated = rotated;
    // A smoothed joystick is mixed by the smoother on the next frame.
    if (!m_JoystickX.bSmooth)
        sendJoystickMix(rotated);
}

void CPlugIn::setJoystickY(float y, bool rotated)
{
    if (!storeJoystickPosition(m_JoystickY, y, m_JoystickY.bSmooth))
        return;
    m_JoystickY.bAxesRotated = rotated;
    if (!m_JoystickX.bSmooth)
        sendJoystickMix(m_JoystickX.bAxesRotated);
}
