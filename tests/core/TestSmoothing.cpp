#include "FixturePlugIn.h"

#include <gtest/gtest.h>

namespace {

using P = FixturePlugIn;

// Steps until a step passes without notification; returns the number of notifying steps.
int stepUntilSettled(FixturePlugIn& plugIn, uint32_t position)
{
    for (int steps = 0; steps < 1000000; ++steps)
    {
        const int before = plugIn.changesOf(position);
        plugIn.smoothControls();
        if (plugIn.changesOf(position) == before)
            return steps;
    }
    return -1;
}

struct CoefficientCase
{
    int32_t rate;
    float timeMs;
    float expectedA;
};

} // namespace

TEST(Smoothing, CoefficientFollowsRateAndTime)
{
    const CoefficientCase cases[] = {
        {44100, 100.0f, 0.998576f}, {48000, 100.0f, 0.998692f},
        {44100, 10.0f, 0.985853f},  {44100, 0.0f, 0.0f}, // no smoothing time: target in one step
        {0, 100.0f, 0.0f},                               // no rate yet
        {44100, -5.0f, 0.0f},                            // nonsense time behaves like zero
    };
    for (const CoefficientCase& c : cases)
    {
        FixturePlugIn plugIn;
        plugIn.m_nSampleRate = c.rate;
        CControlEntry& entry = *plugIn.m_ppControlTable[P::kFloatSmooth];
        entry.fSmoothTimeMs = c.timeMs;
        plugIn.prepare();
        EXPECT_NEAR(entry.fSmoothA, c.expectedA, 1e-6f) << c.rate << " Hz " << c.timeMs << " ms";
        EXPECT_EQ(entry.fSmoothB, 1.0f - entry.fSmoothA);
        EXPECT_EQ(entry.dSmoothA, static_cast<double>(entry.fSmoothA));
        EXPECT_EQ(entry.dSmoothB, static_cast<double>(entry.fSmoothB));
    }
}

TEST(Smoothing, PrepareStartsEverySmootherAtRestOnTheCurrentValue)
{
    FixturePlugIn plugIn;
    plugIn.m_fFloatSmooth = 0.3f;
    plugIn.m_dDoubleSmooth = 0.6;
    plugIn.m_ppControlTable[P::kFloatSmooth]->fTarget = 0.9f; // a stale target is dropped
    plugIn.prepare();

    const CControlEntry& f = *plugIn.m_ppControlTable[P::kFloatSmooth];
    EXPECT_EQ(f.fTarget, 0.3f);
    EXPECT_EQ(f.fSmoothState, 0.3f);
    EXPECT_EQ(f.fSmoothLast, 0.3f);
    const CControlEntry& d = *plugIn.m_ppControlTable[P::kDoubleSmooth];
    EXPECT_EQ(d.fTarget, 0.6f);
    EXPECT_EQ(d.dSmoothState, static_cast<double>(0.6f));

    plugIn.smoothControls(); // at rest: no glide, no notification
    EXPECT_EQ(plugIn.totalChanges(), 0);
    EXPECT_EQ(plugIn.m_fFloatSmooth, 0.3f);
    // Unsmoothed controls are untouched by the smoother.
    EXPECT_EQ(plugIn.m_ppControlTable[P::kFloat]->fSmoothA, 0.0f);
}

TEST(Smoothing, FloatGlideSettlesExactlyOnTheTarget)
{
    FixturePlugIn plugIn;
    plugIn.prepare();
    plugIn.setControlNormalized(P::kFloatSmooth, 1.0f, false);
    plugIn.changes.clear();

    plugIn.smoothControls();
    EXPECT_NEAR(plugIn.m_fFloatSmooth, 0.0014237f, 1e-7f);
    EXPECT_EQ(plugIn.changesOf(P::kFloatSmooth), 1);

    const int moving = stepUntilSettled(plugIn, P::kFloatSmooth);
    EXPECT_GT(moving, 1000); // several thousand steps at 100 ms
    EXPECT_EQ(plugIn.m_fFloatSmooth, 1.0f);
    const int notified = plugIn.changesOf(P::kFloatSmooth);
    for (int i = 0; i < 10; ++i)
        plugIn.smoothControls();
    EXPECT_EQ(plugIn.changesOf(P::kFloatSmooth), notified);
    EXPECT_EQ(plugIn.m_fFloatSmooth, 1.0f);
}

TEST(Smoothing, DoubleGlideUsesDoubleStateAndSettlesOnTheTarget)
{
    FixturePlugIn plugIn;
    plugIn.prepare();
    plugIn.setControlNormalized(P::kDoubleSmooth, 0.5f, false);
    plugIn.changes.clear();

    plugIn.smoothControls();
    const CControlEntry& entry = *plugIn.m_ppControlTable[P::kDoubleSmooth];
    EXPECT_DOUBLE_EQ(plugIn.m_dDoubleSmooth, 0.5 * entry.dSmoothB);
    EXPECT_EQ(plugIn.changesOf(P::kDoubleSmooth), 1);

    EXPECT_GT(stepUntilSettled(plugIn, P::kDoubleSmooth), 1000);
    EXPECT_EQ(plugIn.m_dDoubleSmooth, 0.5);
}

TEST(Smoothing, ZeroTimeReachesTheTargetInOneStep)
{
    FixturePlugIn plugIn;
    plugIn.m_ppControlTable[P::kFloatSmooth]->fSmoothTimeMs = 0.0f;
    plugIn.prepare();
    plugIn.setControlPlain(P::kFloatSmooth, 0.8f);
    plugIn.changes.clear();

    plugIn.smoothControls();
    EXPECT_EQ(plugIn.m_fFloatSmooth, 0.8f);
    EXPECT_EQ(plugIn.changesOf(P::kFloatSmooth), 1);
    plugIn.smoothControls();
    EXPECT_EQ(plugIn.changesOf(P::kFloatSmooth), 1);
}

TEST(Smoothing, ObjectWithoutTablesDoesNothing)
{
    CPlugIn plugIn;
    plugIn.m_JoystickX.bSmooth = true;
    plugIn.m_JoystickX.fValue = 0.5f;
    plugIn.prepare();
    plugIn.smoothControls();
    // Without a control table neither the controls nor the joystick are touched.
    EXPECT_EQ(plugIn.m_JoystickX.fSmoothA, 0.0f);
    EXPECT_EQ(plugIn.m_JoystickX.fValue, 0.5f);
}

// prepare() decides whether frames step the smoothers at all; the decision follows the
// configuration it finds each time, and a table without prepare() is stepped as it stands.
TEST(Smoothing, PrepareDecidesAnewWhetherAnythingIsSmoothed)
{
    struct Case
    {
        bool controls;
        bool joystick;
        bool steps;
    };
    const Case cases[] = {{true, false, true}, {false, true, true}, {false, false, false}};
    for (const Case& c : cases)
    {
        FixturePlugIn plugIn;
        plugIn.m_ppControlTable[P::kFloatSmooth]->bSmooth = c.controls;
        plugIn.m_ppControlTable[P::kDoubleSmooth]->bSmooth = c.controls;
        plugIn.m_JoystickX.bSmooth = c.joystick;
        plugIn.prepare();
        EXPECT_EQ(plugIn.smoothingAtRest(), !c.joystick) << c.controls << c.joystick;
        plugIn.setControlNormalized(P::kFloatSmooth, 1.0f, false);
        plugIn.setJoystickX(1.0f, false);
        plugIn.changes.clear();
        plugIn.joystickCalls = 0;
        plugIn.smoothControls();
        EXPECT_EQ(plugIn.totalChanges() + plugIn.joystickCalls > 0, c.steps) << c.controls << c.joystick;
        if (!c.controls)
        {
            EXPECT_EQ(plugIn.m_fFloatSmooth, 1.0f); // written at once, left alone by the frame
        }
    }

    // Nothing smoothed at the first prepare, a smoother switched on before the second: it glides.
    FixturePlugIn plugIn;
    CControlEntry& entry = *plugIn.m_ppControlTable[P::kFloatSmooth];
    entry.bSmooth = false;
    plugIn.m_ppControlTable[P::kDoubleSmooth]->bSmooth = false;
    plugIn.prepare();
    entry.bSmooth = true;
    plugIn.prepare();
    plugIn.setControlNormalized(P::kFloatSmooth, 1.0f, false);
    plugIn.changes.clear();
    plugIn.smoothControls();
    EXPECT_EQ(plugIn.changesOf(P::kFloatSmooth), 1);
    EXPECT_GT(plugIn.m_fFloatSmooth, 0.0f);
    EXPECT_LT(plugIn.m_fFloatSmooth, 1.0f);
}

TEST(Smoothing, RebuiltTablesAreSteppedBeforeAnyPrepare)
{
    FixturePlugIn plugIn;
    for (uint32_t p : {P::kFloatSmooth, P::kDoubleSmooth})
        plugIn.m_ppControlTable[p]->bSmooth = false;
    plugIn.prepare(); // nothing smoothed: frames skip the table
    CControlEntry& entry = *plugIn.m_ppControlTable[P::kFloatSmooth];
    entry.bSmooth = true;
    entry.fTarget = 0.7f;
    plugIn.smoothControls();
    EXPECT_EQ(plugIn.m_fFloatSmooth, 0.0f);

    plugIn.buildControlTables(); // a new table: stepped as it stands until prepare() looks
    plugIn.smoothControls();
    EXPECT_EQ(plugIn.m_fFloatSmooth, 0.7f); // unprepared coefficients jump to the target
}
