#include "FixturePlugIn.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace {

using P = FixturePlugIn;

CHostInfo sampleHostInfo()
{
    CHostInfo info;
    info.uSamplePos = 48000;
    info.dTimeSeconds = 1.0;
    info.dTempo = 120.0;
    info.fTimeSigNumerator = 3.0f;
    info.uTimeSigDenominator = 4;
    return info;
}

// An incoming value table sized for the fixture: controls, then the joystick X and Y elements.
struct ApplyMessage
{
    explicit ApplyMessage(const FixturePlugIn& plugIn)
        : count(plugIn.m_nControlCount)
        , values(std::make_unique<CControlValue[]>(count + 2))
    {
        message.pValuesIn = values.get();
        message.pHostInfo = &info;
        message.nValueCount = static_cast<int32_t>(count + 2);
    }
    void set(uint32_t position, float normalized)
    {
        values[position].fValue = normalized;
        values[position].bUpdated = true;
    }
    CControlValue& joystickX() { return values[count]; }
    CControlValue& joystickY() { return values[count + 1]; }

    uint32_t count;
    std::unique_ptr<CControlValue[]> values;
    CHostInfo info = sampleHostInfo();
    CHostMessage message;
};

} // namespace

TEST(HostMessage, HostInfoIsCopiedWhole)
{
    CPlugIn plugIn;
    CHostMessage message;
    plugIn.hostMessage(msgHostInfo, message); // no record: nothing happens
    EXPECT_EQ(plugIn.m_HostInfo.uSamplePos, 0u);

    CHostInfo info = sampleHostInfo();
    info.uFlags = 5;
    message.pHostInfo = &info;
    plugIn.hostMessage(msgHostInfo, message);
    EXPECT_EQ(plugIn.m_HostInfo.uSamplePos, 48000u);
    EXPECT_EQ(plugIn.m_HostInfo.dTempo, 120.0);
    EXPECT_EQ(plugIn.m_HostInfo.uTimeSigDenominator, 4u);
    EXPECT_EQ(plugIn.m_HostInfo.uFlags, 5u);
}

TEST(HostMessage, ApplyControlValuesSetsUpdatedControlsOnly)
{
    FixturePlugIn plugIn;
    plugIn.m_fFloat = 9.0f;
    ApplyMessage apply(plugIn);
    apply.set(P::kIntUnit, 0.5f);
    apply.set(P::kChoice, 0.25f);
    apply.set(P::kIntWide, std::numeric_limits<float>::quiet_NaN()); // ignored
    apply.set(P::kDouble, 7.0f);                                     // clamped to 1
    apply.values[P::kFloat].fValue = 0.1f;                           // not flagged: ignored

    plugIn.hostMessage(msgApplyControlValues, apply.message);
    EXPECT_EQ(plugIn.m_nIntUnit, 1);
    EXPECT_EQ(plugIn.m_uChoice, 3u);
    EXPECT_EQ(plugIn.m_nIntWide, 0);
    EXPECT_EQ(plugIn.m_dDouble, 1.0);
    EXPECT_EQ(plugIn.m_fFloat, 9.0f);
    EXPECT_EQ(plugIn.totalChanges(), 3);
    EXPECT_EQ(plugIn.m_HostInfo.uSamplePos, 48000u);
    EXPECT_EQ(plugIn.joystickCalls, 0); // neither joystick element was flagged
}

TEST(HostMessage, ApplyControlValuesRespectsApplyNowForSmoothedControls)
{
    for (bool applyNow : {false, true})
    {
        FixturePlugIn plugIn;
        ApplyMessage apply(plugIn);
        apply.message.bApplyNow = applyNow;
        apply.set(P::kFloatSmooth, 0.5f);
        plugIn.hostMessage(msgApplyControlValues, apply.message);
        EXPECT_EQ(plugIn.m_fFloatSmooth, applyNow ? 0.5f : 0.0f) << applyNow;
        EXPECT_EQ(plugIn.m_ppControlTable[P::kFloatSmooth]->fTarget, applyNow ? 0.0f : 0.5f) << applyNow;
    }
}

TEST(HostMessage, ApplyControlValuesRejectsIncompleteMessages)
{
    enum Fault
    {
        kCountTooSmall,
        kCountTooLarge,
        kNoValues,
        kNoHostInfo
    };
    for (Fault fault : {kCountTooSmall, kCountTooLarge, kNoValues, kNoHostInfo})
    {
        FixturePlugIn plugIn;
        ApplyMessage apply(plugIn);
        apply.set(P::kFloat, 0.5f);
        apply.joystickX().bUpdated = true;
        switch (fault)
        {
        case kCountTooSmall: apply.message.nValueCount -= 1; break;
        case kCountTooLarge: apply.message.nValueCount += 1; break;
        case kNoValues: apply.message.pValuesIn = nullptr; break;
        case kNoHostInfo: apply.message.pHostInfo = nullptr; break;
        }
        plugIn.hostMessage(msgApplyControlValues, apply.message);
        EXPECT_EQ(plugIn.m_fFloat, 0.0f) << fault;
        EXPECT_EQ(plugIn.m_HostInfo.uSamplePos, 0u) << fault;
        EXPECT_EQ(plugIn.totalChanges(), 0) << fault;
        EXPECT_EQ(plugIn.joystickCalls, 0) << fault;
    }
}

TEST(HostMessage, ApplyControlValuesWithoutTablesChangesNothing)
{
    CPlugIn plugIn;
    CControlValue values[2];
    CHostInfo info = sampleHostInfo();
    CHostMessage message;
    message.pValuesIn = values;
    message.pHostInfo = &info;
    message.nValueCount = 2;
    plugIn.hostMessage(msgApplyControlValues, message);
    EXPECT_EQ(plugIn.m_HostInfo.uSamplePos, 0u);
}

TEST(HostMessage, ApplyControlValuesMixesTheJoystick)
{
    FixturePlugIn plugIn;
    ApplyMessage apply(plugIn);
    apply.joystickX() = {0, 0, 0.0f, 0.5f, true, true};
    apply.joystickY() = {0, 0, 0.0f, 0.0f, false, false}; // Y takes X's orientation
    plugIn.hostMessage(msgApplyControlValues, apply.message);

    EXPECT_EQ(plugIn.m_JoystickX.fValue, 0.5f);
    EXPECT_EQ(plugIn.m_JoystickY.fValue, 0.0f);
    EXPECT_TRUE(plugIn.m_JoystickX.bAxesRotated);
    EXPECT_TRUE(plugIn.m_JoystickY.bAxesRotated);
    ASSERT_EQ(plugIn.joystickCalls, 1);
    EXPECT_NEAR(plugIn.lastMix[2], 0.56559f, 1e-5f); // C of the rotated mix at (0.5, 0)
    EXPECT_EQ(plugIn.lastMix[4], 0.75f);
}

TEST(HostMessage, ApplyControlValuesLeavesASmoothedJoystickToTheSmoother)
{
    FixturePlugIn plugIn;
    plugIn.m_JoystickX.bSmooth = true;
    ApplyMessage apply(plugIn);
    apply.joystickX().fJoystick = 0.5f;
    apply.joystickY().fJoystick = -2.0f; // clamped to -1
    apply.joystickY().bUpdated = true;

    plugIn.hostMessage(msgApplyControlValues, apply.message);
    EXPECT_EQ(plugIn.m_JoystickX.fTarget, 0.5f);
    EXPECT_EQ(plugIn.m_JoystickX.fValue, 0.0f);
    EXPECT_EQ(plugIn.m_JoystickY.fValue, -1.0f); // the Y record itself is not smoothed
    EXPECT_EQ(plugIn.joystickCalls, 0);

    apply.message.bApplyNow = true;
    plugIn.hostMessage(msgApplyControlValues, apply.message);
    EXPECT_EQ(plugIn.m_JoystickX.fValue, 0.5f);
    EXPECT_EQ(plugIn.joystickCalls, 1);
}

TEST(HostMessage, CollectMetersReportsMeterVariables)
{
    FixturePlugIn plugIn;
    plugIn.m_fMeter = 0.7f;
    for (uint32_t p = 0; p < plugIn.m_nControlCount; ++p)
        plugIn.m_pControlValues[p].bUpdated = true;          // stale flags from an earlier round
    plugIn.m_ppControlTable[P::kIntEmpty]->nValueIndex = -1; // skipped altogether

    CHostMessage message;
    message.nValueCount = static_cast<int32_t>(plugIn.m_nControlCount + 2);
    plugIn.hostMessage(msgCollectMeters, message);

    ASSERT_EQ(message.pValuesOut, plugIn.m_pControlValues.get());
    for (uint32_t p = 0; p < plugIn.m_nControlCount; ++p)
    {
        const bool expectUpdated = p == P::kMeter || p == P::kIntEmpty;
        EXPECT_EQ(message.pValuesOut[p].bUpdated, expectUpdated) << p;
    }
    EXPECT_EQ(message.pValuesOut[P::kMeter].fValue, 0.7f);
}

TEST(HostMessage, CollectMetersWithWrongCountReturnsNothing)
{
    FixturePlugIn plugIn;
    CHostMessage message;
    message.nValueCount = static_cast<int32_t>(plugIn.m_nControlCount + 1);
    plugIn.hostMessage(msgCollectMeters, message);
    EXPECT_EQ(message.pValuesOut, nullptr);
}

TEST(HostMessage, CollectMetersWithoutMeterControlsClearsEveryFlag)
{
    CPlugIn plugIn;
    float bound = 0.0f;
    for (uint32_t p = 0; p < 2; ++p)
    {
        CControlEntry record;
        record.nKind = kControlKindNormal;
        record.nDataType = kDataFloat;
        record.pFloatVar = &bound;
        record.pMeterVar = &bound; // ignored: not a meter control
        record.nValueIndex = static_cast<int32_t>(p);
        plugIn.m_ControlList.appendControl(record);
    }
    plugIn.buildControlTables();
    plugIn.m_pControlValues[0].bUpdated = true;
    plugIn.m_pControlValues[1].bUpdated = true;

    CHostMessage message;
    message.nValueCount = 4;
    plugIn.hostMessage(msgCollectMeters, message);
    ASSERT_NE(message.pValuesOut, nullptr);
    EXPECT_FALSE(message.pValuesOut[0].bUpdated);
    EXPECT_FALSE(message.pValuesOut[1].bUpdated);
}

TEST(HostMessage, MidiAndUnknownTypesDoNothing)
{
    FixturePlugIn plugIn;
    ApplyMessage apply(plugIn);
    apply.set(P::kFloat, 0.5f);
    for (uint32_t type : {5u, 3u, 99u})
        plugIn.hostMessage(type, apply.message);
    EXPECT_EQ(plugIn.totalChanges(), 0);
    EXPECT_EQ(plugIn.m_HostInfo.uSamplePos, 0u);
    EXPECT_EQ(apply.message.pValuesOut, nullptr);
}
