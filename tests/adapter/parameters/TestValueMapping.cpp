// Host value <-> control position mapping for linear, logarithmic and volt/octave controls.
#include "adapter/parameters/ValueMapping.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Steinberg::Vst::Vava2DUZ3;

namespace {
CControlEntry control(float min, float max, bool log, bool voltOctave)
{
    CControlEntry entry;
    entry.fMin = min;
    entry.fMax = max;
    entry.bLogControl = log;
    entry.bVoltOctave = voltOctave;
    return entry;
}
} // namespace

TEST(ValueMapping, LogControlsWarpBothWays)
{
    const CControlEntry log = control(20.0f, 20000.0f, true, false);
    const struct
    {
        double v;
        double u;
    } toPosition[] = {{0.0, 0.0}, {0.5, 0.7403627}, {1.0, 1.0}};
    for (const auto& c : toPosition)
        EXPECT_NEAR(parameterToPosition(log, c.v), c.u, 1e-6) << "v = " << c.v;
    const struct
    {
        double plain;
        double v;
    } toParameter[] = {{20.0, 0.0}, {10010.0, 0.2402531}, {20000.0, 1.0}};
    for (const auto& c : toParameter)
        EXPECT_NEAR(positionToParameter(log, c.plain), c.v, 1e-6) << "plain = " << c.plain;
}

TEST(ValueMapping, VoltOctaveControlsFollowTheExponentialCurve)
{
    const CControlEntry pitch = control(20.0f, 20480.0f, false, true);
    EXPECT_NEAR(parameterToPosition(pitch, 0.5), (640.0 - 20.0) / 20460.0, 1e-4);
    EXPECT_EQ(parameterToPosition(pitch, 0.5), mapVoltOctave(pitch, 0.5));
    EXPECT_NEAR(parameterToPosition(pitch, 0.0), 0.0, 1e-4);
    EXPECT_NEAR(parameterToPosition(pitch, 1.0), 1.0, 1e-3);
    EXPECT_NEAR(positionToParameter(pitch, 640.0), 0.5, 1e-4);
    EXPECT_NEAR(positionToParameter(pitch, 20480.0), 1.0, 1e-4);
    // The two directions invert each other.
    const double v = positionToParameter(pitch, 5000.0);
    EXPECT_NEAR(20.0 + 20460.0 * parameterToPosition(pitch, v), 5000.0, 5.0);
}

TEST(ValueMapping, LinearControlsPassThrough)
{
    const CControlEntry gain = control(0.0f, 14.0f, false, false);
    EXPECT_FLOAT_EQ(parameterToPosition(gain, 0.375), 0.375f);
    EXPECT_FLOAT_EQ(static_cast<float>(positionToParameter(gain, 7.0)), 0.5f);
    EXPECT_FLOAT_EQ(static_cast<float>(positionToParameter(gain, 5.31)), 5.31f / 14.0f);
}
