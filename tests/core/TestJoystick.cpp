#include "FixturePlugIn.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct MixCase
{
    double x, y;
    bool rotated;
    double a, b, c, d, ac, bd;
};

// Corner weights at the centre, the corners and one off-axis point, in both orientations.
const MixCase kMixCases[] = {
    {0.0, 0.0, false, 0.25, 0.25, 0.25, 0.25, 0.5, 0.5},
    {0.0, 0.0, true, 0.25, 0.25, 0.25, 0.25, 0.5, 0.5},
    {1.0, 1.0, false, 0.0, 1.0, 0.003938, 0.0000155, 0.5, 1.0},
    {0.0, 1.0, true, 0.0, 1.0, 0.003938, 0.0000155, 0.5, 1.0},
    {0.5, 0.0, true, 0.05536, 0.18755, 0.56559, 0.19150, 0.75, 0.5},
    {-1.0, 1.0, false, 0.99605, 0.0, 0.0, 0.0039535, 0.0, 0.5},
    {1.0, -1.0, false, 0.0, 0.0, 1.0, 0.0039535, 1.0, 0.5},
};

} // namespace

TEST(Joystick, MixMatchesKnownPositions)
{
    for (const MixCase& m : kMixCases)
    {
        const CPlugIn::JoystickMix mix = CPlugIn::mixJoystick(m.x, m.y, m.rotated);
        SCOPED_TRACE(testing::Message() << "x " << m.x << " y " << m.y << " rotated " << m.rotated);
        EXPECT_NEAR(mix.a, m.a, 1e-5);
        EXPECT_NEAR(mix.b, m.b, 1e-5);
        EXPECT_NEAR(mix.c, m.c, 1e-5);
        EXPECT_NEAR(mix.d, m.d, 1e-6);
        EXPECT_NEAR(mix.ac, m.ac, 1e-8);
        EXPECT_NEAR(mix.bd, m.bd, 1e-8);
    }
}

TEST(Joystick, MixUsesTheEightDecimalRootOfTwo)
{
    // Off the diagonal the axis value shows which root was used: the exact root gives AC 0.75,
    // the eight-decimal one 0.75 + 8.39e-10.
    const CPlugIn::JoystickMix mix = CPlugIn::mixJoystick(1.0, 0.0, false);
    EXPECT_NEAR(mix.ac, 0.7500000008390157, 1e-15);
}

TEST(Joystick, UnsmoothedAxesReportTheMixAtOnce)
{
    FixturePlugIn plugIn;
    plugIn.setJoystickX(0.5f, true);
    EXPECT_EQ(plugIn.joystickCalls, 1);
    EXPECT_TRUE(plugIn.m_JoystickX.bAxesRotated);
    EXPECT_NEAR(plugIn.lastMix[0], 0.05536f, 1e-5f);
    EXPECT_EQ(plugIn.lastMix[4], 0.75f);

    // Y reports with the orientation the X axis holds, not its own argument.
    plugIn.setJoystickY(0.0f, false);
    EXPECT_EQ(plugIn.joystickCalls, 2);
    EXPECT_FALSE(plugIn.m_JoystickY.bAxesRotated);
    EXPECT_EQ(plugIn.lastMix[4], 0.75f);

    float x = 0.0f, y = 0.0f;
    plugIn.getJoystickValues(x, y);
    EXPECT_EQ(x, 0.5f);
    EXPECT_EQ(y, 0.0f);
}

TEST(Joystick, BadPositionsAreClampedOrIgnored)
{
    FixturePlugIn plugIn;
    plugIn.setJoystickX(3.0f, false);
    EXPECT_EQ(plugIn.m_JoystickX.fValue, 1.0f);
    plugIn.setJoystickY(-7.0f, false);
    EXPECT_EQ(plugIn.m_JoystickY.fValue, -1.0f);
    EXPECT_EQ(plugIn.joystickCalls, 2);

    plugIn.setJoystickX(std::numeric_limits<float>::quiet_NaN(), true);
    plugIn.setJoystickY(std::numeric_limits<float>::infinity(), true);
    EXPECT_EQ(plugIn.m_JoystickX.fValue, 1.0f);
    EXPECT_EQ(plugIn.m_JoystickY.fValue, -1.0f);
    EXPECT_FALSE(plugIn.m_JoystickX.bAxesRotated);
    EXPECT_EQ(plugIn.joystickCalls, 2);
}

TEST(Joystick, SmoothedJoystickReportsFromTheSmootherOnEveryFrame)
{
    FixturePlugIn plugIn;
    plugIn.m_JoystickX.bSmooth = true;
    plugIn.m_JoystickY.bSmooth = true;
    plugIn.prepare();

    plugIn.setJoystickX(1.0f, false);
    plugIn.setJoystickY(1.0f, false);
    EXPECT_EQ(plugIn.joystickCalls, 0);
    EXPECT_EQ(plugIn.m_JoystickX.fValue, 0.0f);
    EXPECT_EQ(plugIn.m_JoystickY.fTarget, 1.0f);

    plugIn.smoothControls();
    EXPECT_EQ(plugIn.joystickCalls, 1);
    EXPECT_NEAR(plugIn.m_JoystickX.fValue, 0.0014237f, 1e-7f);
    EXPECT_EQ(plugIn.m_JoystickX.fValue, plugIn.m_JoystickY.fValue);

    // The mix keeps coming once the axes have settled, exactly on their targets.
    for (int i = 0; i < 20000; ++i)
        plugIn.smoothControls();
    EXPECT_EQ(plugIn.joystickCalls, 20001);
    EXPECT_EQ(plugIn.m_JoystickX.fValue, 1.0f);
    EXPECT_EQ(plugIn.m_JoystickY.fValue, 1.0f);
    EXPECT_EQ(plugIn.lastMix[1], 1.0f); // corner B
}
