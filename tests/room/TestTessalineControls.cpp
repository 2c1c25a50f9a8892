// CTessaline's controls: defaults, the control list, the value table and the presets.
#include "room/CTessaline.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {
struct ControlCase
{
    uint32_t id;
    const char* name;
    const char* variable;
    int32_t dataType;
    float max;
    float initial;
    double factoryPreset;
    double studioPreset;
};

const ControlCase kControls[] = {
    {0, "Gain", "m_fGain", kDataFloat, 1.0f, 0.5f, 0.5, 0.5},
    {1, "Position", "m_uPosition", kDataUint, 10.0f, 0.0f, 0.0, 5.0},
    {2, "Vol L-R", "m_fVolLR", kDataFloat, 1.0f, 1.0f, 1.0, 1.0},
    {3, "Abs L-R", "m_fAbsLR", kDataFloat, 14.0f, 7.0f, 7.0, 5.31},
    {4, "Vol F-B", "m_fVolFB", kDataFloat, 1.0f, 1.0f, 1.0, 1.0},
    {5, "Abs F-B", "m_fAbsFB", kDataFloat, 14.0f, 7.0f, 7.0, 7.54},
    {6, "Vol C-F", "m_fVolCF", kDataFloat, 1.0f, 1.0f, 1.0, 1.0},
    {7, "Abs C-F", "m_fAbsCF", kDataFloat, 14.0f, 7.0f, 7.0, 9.49},
    {8, "Decay Type", "m_nCurveType", kDataInt, 1.0f, 1.0f, 1.0, 0.0},
    {9, "Stereo/Mono", "m_fStereoMono", kDataUint, 1.0f, 0.0f, 0.0, 0.0},
    {10, "Left/Right", "m_fLeftRight", kDataUint, 1.0f, 0.0f, 0.0, 0.0},
};

class TessalineControls : public ::testing::Test
{
protected:
    std::unique_ptr<CPlugIn> m_pOwned{createPlugIn()};
    CTessaline& fx = static_cast<CTessaline&>(*m_pOwned);
};

TEST_F(TessalineControls, EveryControlIsDeclaredAsListed)
{
    ASSERT_EQ(fx.m_ControlList.controlCount(), 11u);
    ASSERT_EQ(fx.m_nControlCount, 11u);
    for (const ControlCase& c : kControls)
    {
        SCOPED_TRACE(c.name);
        const CControlEntry* e = fx.m_ControlList.controlAt(c.id);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(fx.m_ppControlTable[c.id], e);
        EXPECT_EQ(e->uId, c.id);
        EXPECT_EQ(e->nValueIndex, static_cast<int32_t>(c.id));
        EXPECT_EQ(e->nKind, kControlKindNormal);
        EXPECT_STREQ(e->szName, c.name);
        EXPECT_STREQ(e->szVariable, c.variable);
        EXPECT_STREQ(e->szUnits, "");
        EXPECT_EQ(e->nDataType, c.dataType);
        EXPECT_EQ(e->fMin, 0.0f);
        EXPECT_EQ(e->fMax, c.max);
        EXPECT_EQ(e->nPrecision, 2);
        EXPECT_FALSE(e->bSmooth);
        EXPECT_FALSE(e->bMidiControl);
        EXPECT_EQ(e->nMidiStatus, 176);
        EXPECT_EQ(e->nMidiController, 3);
        EXPECT_EQ(fx.getControlValue(c.id), c.initial);
        EXPECT_EQ(e->dPresetValues[0], c.factoryPreset);
        EXPECT_EQ(e->dPresetValues[1], c.studioPreset);
        for (int slot = 2; slot < kPresetSlots; ++slot)
            EXPECT_EQ(e->dPresetValues[slot], 0.0);
    }
    EXPECT_STREQ(fx.m_ControlList.controlAt(1)->szEnumList, "Center,L22,L32,L45,L64,L90,R22,R32,R45,R64,R90");
    EXPECT_STREQ(fx.m_ControlList.controlAt(9)->szEnumList, "Stereo,Mono");
    EXPECT_STREQ(fx.m_ControlList.controlAt(10)->szEnumList, "Left,Right");
    EXPECT_STREQ(fx.m_ControlList.controlAt(0)->szEnumList, "SEL1,SEL2,SEL3");
}

TEST_F(TessalineControls, ControlsAreBoundToTheMembers)
{
    fx.setControlPlain(CTessaline::kAbsFB, 3.25f);
    fx.setControlPlain(CTessaline::kPosition, 10.0f);
    fx.setControlPlain(CTessaline::kLeftRight, 1.0f);
    EXPECT_EQ(fx.m_fAbsFB, 3.25f);
    EXPECT_EQ(fx.m_uPosition, 10u);
    EXPECT_EQ(fx.m_fLeftRight, 1u);
    EXPECT_EQ(fx.m_fAbsLR, 7.0f);
}

TEST_F(TessalineControls, BaseSettingsAndValueTable)
{
    EXPECT_STREQ(fx.m_pPlugInName, "Tessaline");
    EXPECT_TRUE(fx.m_bHasEditor);
    EXPECT_EQ(fx.m_nKnobMode, 2);
    EXPECT_FALSE(fx.m_bOutputOnly);
    EXPECT_FALSE(fx.m_bWantMidiMessages);
    EXPECT_FALSE(fx.m_bProcessWholeBuffers);
    EXPECT_EQ(fx.m_fLatencySamples, 0.0f);
    EXPECT_STREQ(fx.m_PresetNames[0], "Factory Preset");
    EXPECT_STREQ(fx.m_PresetNames[1], "Studio");
    EXPECT_STREQ(fx.m_PresetNames[15], "");
    EXPECT_STREQ(fx.m_ButtonLabels[2], "B3");
    // Thirteen values: eleven controls, then the two joystick axes.
    EXPECT_EQ(fx.m_JoystickX.uId, 0x8005u);
    EXPECT_EQ(fx.m_JoystickY.uId, 0x8006u);
    EXPECT_EQ(fx.m_JoystickX.nValueIndex, 11);
    EXPECT_EQ(fx.m_JoystickY.nValueIndex, 12);
    EXPECT_STREQ(fx.m_JoystickX.szName, "MIDI JS X");
    EXPECT_EQ(fx.m_JoystickY.nMidiController, 17);
    EXPECT_TRUE(fx.m_JoystickX.bAxesRotated);
    for (uint32_t p = 0; p < 11; ++p)
    {
        EXPECT_EQ(fx.m_pControlValues[p].nIndex, static_cast<int32_t>(p));
        EXPECT_EQ(fx.m_pControlValues[p].uId, p);
    }
}

// The effect has an editor, but not one of its own: the editor description builds it.
TEST_F(TessalineControls, OffersNoEditorOfItsOwn)
{
    for (uint32_t code : {kUiHasOwnEditor, kUiOpenOwnEditor, kUiCreateCustomView})
    {
        CUiMessage message;
        message.code = code;
        EXPECT_EQ(fx.uiMessage(&message), nullptr) << code;
        EXPECT_FALSE(message.answer) << code;
    }
}

TEST_F(TessalineControls, SecondDeclarationChangesNothing)
{
    fx.setControlPlain(CTessaline::kGain, 0.8f);
    const CControlEntry* first = fx.m_ControlList.controlAt(0);
    EXPECT_TRUE(fx.declareControls());
    EXPECT_EQ(fx.m_ControlList.controlCount(), 11u);
    EXPECT_EQ(fx.m_ControlList.controlAt(0), first);
    EXPECT_EQ(fx.m_fGain, 0.8f); // the initial value is not stored again
}

} // namespace
