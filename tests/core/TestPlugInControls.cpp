#include "FixturePlugIn.h"
#include "support/CaseNames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace {

using P = FixturePlugIn;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct SetCase
{
    const char* name;
    uint32_t position;
    bool plain; // setControlPlain instead of setControlNormalized
    float input;
    float expected; // getControlValue afterwards (every fixture variable starts at 0)
    int notifications;
};
inline void PrintTo(const SetCase& c, std::ostream* os) { *os << c.name; }

const SetCase kSetCases[] = {
    {"IntHalfRoundsUp", P::kIntUnit, false, 0.5f, 1.0f, 1},
    {"IntBelowHalfRoundsDown", P::kIntUnit, false, 0.49f, 0.0f, 1}, // notified though unchanged
    {"IntNormalizedAboveOneClamps", P::kIntUnit, false, 1.7f, 1.0f, 1},
    {"IntNormalizedBelowZeroClamps", P::kIntWide, false, -3.0f, -10.0f, 1},
    {"IntNormalizedNaNIgnored", P::kIntUnit, false, kNaN, 0.0f, 0},
    {"IntNormalizedInfIgnored", P::kIntWide, false, kInf, 0.0f, 0},
    {"IntPlainTruncates", P::kIntWide, true, 2.9f, 2.0f, 1},
    {"IntPlainTruncatesTowardZero", P::kIntWide, true, -2.9f, -2.0f, 1},
    {"IntPlainClampsToMax", P::kIntWide, true, 50.0f, 10.0f, 1},
    {"IntPlainMinusInfIgnored", P::kIntWide, true, -kInf, 0.0f, 0},
    {"FloatNormalizedMapsRange", P::kFloat, false, 0.25f, 2.5f, 1},
    {"FloatPlainClampsToMax", P::kFloat, true, 12.0f, 10.0f, 1},
    {"FloatPlainClampsToMin", P::kFloat, true, -1.0f, 0.0f, 1},
    {"FloatPlainNaNIgnored", P::kFloat, true, kNaN, 0.0f, 0},
    {"DoubleNormalizedMapsRange", P::kDouble, false, 0.75f, 0.5f, 1},
    {"DoublePlainClamps", P::kDouble, true, -4.0f, -1.0f, 1},
    {"ChoicePlainRoundsHalfUp", P::kChoice, true, 2.9f, 3.0f, 1},
    {"ChoicePlainRoundsDown", P::kChoice, true, 2.4f, 2.0f, 1},
    {"ChoiceNormalizedRoundsHalfUp", P::kChoice, false, 0.25f, 3.0f, 1},
    {"ChoiceUnchangedNotNotified", P::kChoice, false, 0.0f, 0.0f, 0},
    {"ChoiceNegativeClampsToCurrentZero", P::kChoice, true, -5.0f, 0.0f, 0},
    {"EmptyRangeIntTakesItsOnlyValue", P::kIntEmpty, false, 0.3f, 5.0f, 1},
    {"EmptyRangeIntPlainClamps", P::kIntEmpty, true, 7.0f, 5.0f, 1},
    {"EmptyRangeFloat", P::kFloatEmpty, false, 1.0f, 2.0f, 1},
    {"MeterHasNoVariable", P::kMeter, false, 0.5f, 0.0f, 0},
    {"PositionPastEndIgnored", P::kCount, false, 0.5f, 0.0f, 0},
    {"PositionFarPastEndIgnored", 1000000, true, 0.5f, 0.0f, 0},
};

class SetOperation : public ::testing::TestWithParam<SetCase>
{};

} // namespace

TEST_P(SetOperation, WritesVariableAndNotifies)
{
    const SetCase& c = GetParam();
    FixturePlugIn plugIn;
    if (c.plain)
        plugIn.setControlPlain(c.position, c.input);
    else
        plugIn.setControlNormalized(c.position, c.input, false);
    EXPECT_EQ(plugIn.getControlValue(c.position), c.expected);
    EXPECT_EQ(plugIn.changesOf(c.position), c.notifications);
    EXPECT_EQ(plugIn.totalChanges(), c.notifications);
}

INSTANTIATE_TEST_SUITE_P(Cases, SetOperation, ::testing::ValuesIn(kSetCases), TestSupport::caseName<SetCase>);

TEST(SetOperation, IntNotifiesEveryTimeChoiceOnlyOnChange)
{
    FixturePlugIn plugIn;
    for (int i = 0; i < 3; ++i)
    {
        plugIn.setControlNormalized(P::kIntUnit, 1.0f, false);
        plugIn.setControlPlain(P::kChoice, 4.0f);
    }
    EXPECT_EQ(plugIn.changesOf(P::kIntUnit), 3);
    EXPECT_EQ(plugIn.changesOf(P::kChoice), 1);
    EXPECT_EQ(plugIn.m_uChoice, 4u);
}

TEST(SetOperation, SmoothedControlsMoveTheTargetUnlessAppliedNow)
{
    FixturePlugIn plugIn;
    CControlEntry& floatEntry = *plugIn.m_ppControlTable[P::kFloatSmooth];
    CControlEntry& doubleEntry = *plugIn.m_ppControlTable[P::kDoubleSmooth];

    plugIn.setControlNormalized(P::kFloatSmooth, 0.5f, false);
    plugIn.setControlNormalized(P::kDoubleSmooth, 0.25f, false);
    EXPECT_EQ(plugIn.m_fFloatSmooth, 0.0f);
    EXPECT_EQ(plugIn.m_dDoubleSmooth, 0.0);
    EXPECT_EQ(floatEntry.fTarget, 0.5f);
    EXPECT_EQ(doubleEntry.fTarget, 0.25f);
    EXPECT_EQ(plugIn.totalChanges(), 2); // notified even though only the target moved

    plugIn.setControlNormalized(P::kFloatSmooth, 0.75f, true);
    plugIn.setControlNormalized(P::kDoubleSmooth, 1.0f, true);
    EXPECT_EQ(plugIn.m_fFloatSmooth, 0.75f);
    EXPECT_EQ(plugIn.m_dDoubleSmooth, 1.0);
    EXPECT_EQ(floatEntry.fTarget, 0.5f);

    // A restored plain value always goes to the smoother.
    plugIn.setControlPlain(P::kFloatSmooth, 0.125f);
    EXPECT_EQ(floatEntry.fTarget, 0.125f);
    EXPECT_EQ(plugIn.m_fFloatSmooth, 0.75f);
}

TEST(SetOperation, RangeWiderThanFloatLeavesControlUnchanged)
{
    FixturePlugIn plugIn;
    CControlEntry& entry = *plugIn.m_ppControlTable[P::kFloat];
    entry.fMin = -std::numeric_limits<float>::max();
    entry.fMax = std::numeric_limits<float>::max(); // fMax - fMin overflows to infinity
    plugIn.setControlNormalized(P::kFloat, 0.75f, false);
    EXPECT_EQ(plugIn.m_fFloat, 0.0f);
    EXPECT_EQ(plugIn.totalChanges(), 0);
    EXPECT_EQ(plugIn.getControlNormalized(P::kFloat), 0.0f);
}

TEST(SetOperation, HugeValuesStayInsideIntegerRange)
{
    FixturePlugIn plugIn;
    CControlEntry& wide = *plugIn.m_ppControlTable[P::kIntWide];
    wide.fMin = -1e12f;
    wide.fMax = 1e12f;
    plugIn.setControlPlain(P::kIntWide, 1e12f);
    EXPECT_EQ(plugIn.m_nIntWide, std::numeric_limits<int32_t>::max());
    plugIn.setControlNormalized(P::kIntWide, 0.0f, false);
    EXPECT_EQ(plugIn.m_nIntWide, std::numeric_limits<int32_t>::min());
}

TEST(ControlValues, ReadBackAsFloatAndAsLinearPosition)
{
    FixturePlugIn plugIn;
    plugIn.m_nIntWide = -4;
    plugIn.m_dDouble = 0.5;
    plugIn.m_uChoice = 7;
    plugIn.m_fFloat = 2.5f;
    plugIn.m_nIntEmpty = 5;
    EXPECT_EQ(plugIn.getControlValue(P::kIntWide), -4.0f);
    EXPECT_EQ(plugIn.getControlValue(P::kDouble), 0.5f);
    EXPECT_EQ(plugIn.getControlValue(P::kChoice), 7.0f);
    EXPECT_EQ(plugIn.getControlValue(P::kMeter), 0.0f);
    EXPECT_EQ(plugIn.getControlValue(P::kCount), 0.0f);

    EXPECT_FLOAT_EQ(plugIn.getControlNormalized(P::kIntWide), 0.3f);
    EXPECT_FLOAT_EQ(plugIn.getControlNormalized(P::kFloat), 0.25f);
    EXPECT_FLOAT_EQ(plugIn.getControlNormalized(P::kChoice), 0.7f);
    EXPECT_EQ(plugIn.getControlNormalized(P::kIntEmpty), 0.0f); // empty range: no division
    EXPECT_EQ(plugIn.getControlNormalized(P::kFloatEmpty), 0.0f);
    EXPECT_EQ(plugIn.getControlNormalized(P::kCount), 0.0f);
}

TEST(ControlValues, ObjectWithoutTablesIgnoresEverything)
{
    CPlugIn plugIn;
    plugIn.setControlNormalized(0, 0.5f, true);
    plugIn.setControlPlain(0, 0.5f);
    EXPECT_EQ(plugIn.getControlValue(0), 0.0f);
    EXPECT_EQ(plugIn.getControlNormalized(0), 0.0f);
}

TEST(PlugInBase, ConstructorDefaults)
{
    CPlugIn plugIn;
    EXPECT_EQ(plugIn.m_nSampleRate, 44100);
    EXPECT_STREQ(plugIn.m_pPlugInName, "Name Not Set.");
    EXPECT_STREQ(plugIn.m_JoystickX.szName, "MIDI JS X");
    EXPECT_STREQ(plugIn.m_JoystickY.szName, "MIDI JS Y");
    EXPECT_EQ(plugIn.m_JoystickX.nMidiController, 16);
    EXPECT_EQ(plugIn.m_JoystickY.nMidiController, 17);
    EXPECT_EQ(plugIn.m_JoystickX.nMidiStatus, 176);
    EXPECT_EQ(plugIn.m_JoystickX.uId, 0u);
    EXPECT_STREQ(plugIn.m_ButtonLabels[2], "B3");
    EXPECT_EQ(plugIn.m_PresetNames[0], nullptr);
    EXPECT_FALSE(plugIn.m_ppControlTable);
    EXPECT_FALSE(plugIn.m_pControlValues);
}

TEST(PlugInBase, UiMessageAnswersNothingForEveryCode)
{
    CPlugIn plugIn;
    for (uint32_t code : {0u, 1u, 2u, 3u, 5u, 6u, 7u, 13u, 99u})
    {
        CUiMessage message;
        message.code = code;
        EXPECT_EQ(plugIn.uiMessage(&message), nullptr) << code;
        EXPECT_FALSE(message.answer) << code;
    }
}

TEST(PlugInBase, ReportDependentControlsLeavesTheListEmpty)
{
    CPlugIn plugIn;
    CDependentControl* list = nullptr;
    EXPECT_FALSE(plugIn.reportDependentControls(1, 0.5f, &list, true));
    EXPECT_EQ(list, nullptr);
}

TEST(PlugInBase, ProcessFrameLeavesOutputUntouched)
{
    CPlugIn plugIn;
    const float in[2] = {1.0f, 2.0f};
    float out[2] = {3.0f, 4.0f};
    EXPECT_TRUE(plugIn.processFrame(in, out, 2, 2));
    EXPECT_EQ(out[0], 3.0f);
    EXPECT_EQ(out[1], 4.0f);
    EXPECT_TRUE(plugIn.prepare());
}

TEST(PlugInBase, ReleaseDependentListFreesEveryNode)
{
    // Run under AddressSanitizer, a missed node shows up as a leak.
    CPlugIn plugIn;
    CDependentControl* list = nullptr;
    for (uint32_t id = 0; id < 3; ++id)
    {
        auto* node = new CDependentControl;
        node->uId = id;
        node->pNext = list;
        list = node;
    }
    plugIn.releaseDependentList(&list);
    EXPECT_EQ(list, nullptr);

    plugIn.releaseDependentList(&list);   // already empty
    plugIn.releaseDependentList(nullptr); // no list at all
    EXPECT_EQ(list, nullptr);
}
