// Units and the preset program list, also across repeated initialize calls.
#include "AdapterFixture.h"
#include "support/ExpectedHostView.h"

#include "public.sdk/source/vst/hosting/hostclasses.h"

using namespace AdapterTest;

namespace {
FixtureDsp* presetFixture(const char* slot0, const char* slot1, const char* slot2)
{
    auto* dsp = new FixtureDsp;
    dsp->addControl("Gain", 100, kDataFloat, 0.0f, 1.0f, 0.5f);
    dsp->m_PresetNames[0] = slot0;
    dsp->m_PresetNames[1] = slot1;
    dsp->m_PresetNames[2] = slot2;
    return dsp;
}
} // namespace

TEST(Units, RootAndPresetUnitsWithTheProgramList)
{
    ProcessorHolder p(presetFixture("Factory Preset", "Studio", nullptr));
    ASSERT_EQ(p->initialize(nullptr), kResultOk);
    ExpectedHostView::expectRootAndPresetUnits(p.processor);
    UnitInfo untouched = {};
    untouched.id = 42;
    EXPECT_EQ(p->getUnitInfo(2, untouched), kResultFalse);
    EXPECT_EQ(p->getUnitInfo(-1, untouched), kResultFalse);
    EXPECT_EQ(untouched.id, 42);

    ASSERT_EQ(p->getProgramListCount(), 1);
    ProgramListInfo list = {};
    ASSERT_EQ(p->getProgramListInfo(0, list), kResultOk);
    EXPECT_EQ(list.id, static_cast<ProgramListID>(kParamFactoryPresets));
    EXPECT_EQ(toUtf8(list.name), "Presets");
    EXPECT_EQ(list.programCount, 2);
    EXPECT_EQ(p->getProgramListInfo(1, list), kResultFalse);

    String128 name = {};
    ASSERT_EQ(p->getProgramName(kParamFactoryPresets, 1, name), kResultOk);
    EXPECT_EQ(toUtf8(name), "Studio");
    ASSERT_EQ(p->getProgramName(kParamFactoryPresets, 0, name), kResultOk);
    EXPECT_EQ(toUtf8(name), "Factory Preset");
    for (int32 bad : {-1, 2, 1000})
        EXPECT_EQ(p->getProgramName(kParamFactoryPresets, bad, name), kResultFalse) << bad;
    EXPECT_EQ(toUtf8(name), "Factory Preset");
    EXPECT_EQ(p->getProgramName(0, 0, name), kResultFalse);
}

TEST(Units, EmptySlotsCloseUpAndNoNamesMeanNoList)
{
    ProcessorHolder gap(presetFixture("First", "", "Third"));
    ASSERT_EQ(gap->initialize(nullptr), kResultOk);
    String128 name = {};
    ASSERT_EQ(gap->getProgramName(kParamFactoryPresets, 1, name), kResultOk);
    EXPECT_EQ(toUtf8(name), "Third");

    ProcessorHolder none(presetFixture(nullptr, "", nullptr));
    ASSERT_EQ(none->initialize(nullptr), kResultOk);
    EXPECT_EQ(none->getUnitCount(), 1);
    EXPECT_EQ(none->getProgramListCount(), 0);
    EXPECT_EQ(none->getParameterObject(kParamFactoryPresets), nullptr);
    ProgramListInfo list = {};
    EXPECT_EQ(none->getProgramListInfo(0, list), kResultFalse);
}

TEST(Units, RepeatedInitializeNeverDuplicatesUnitsOrParameters)
{
    HostApplication host; // outlives the Processor, which holds a reference while initialized
    ProcessorHolder p(presetFixture("Factory Preset", "Studio", nullptr));
    ASSERT_EQ(p->initialize(&host), kResultOk);
    const int32 parameterCount = p->getParameterCount();
    ASSERT_EQ(parameterCount, 16);

    // A second initialize without terminate is refused by the base; units stay single.
    EXPECT_EQ(p->initialize(&host), kResultFalse);
    ExpectedHostView::expectRootAndPresetUnits(p.processor);
    EXPECT_EQ(p->getParameterCount(), parameterCount);

    // terminate keeps the units and removes the parameters; initialize rebuilds both once.
    ASSERT_EQ(p->terminate(), kResultOk);
    EXPECT_EQ(p->getParameterCount(), 0);
    EXPECT_EQ(p->getUnitCount(), 2);
    ASSERT_EQ(p->initialize(&host), kResultOk);
    ExpectedHostView::expectRootAndPresetUnits(p.processor);
    EXPECT_EQ(p->getParameterCount(), parameterCount);
    EXPECT_EQ(p.dsp->m_ControlList.controlCount(), 1u); // the DSP object survived terminate
}

TEST(Units, InitializeTwiceWithoutContextDeclaresEverythingOnce)
{
    ProcessorHolder p(presetFixture("Factory Preset", "Studio", nullptr));
    ASSERT_EQ(p->initialize(nullptr), kResultOk);
    ASSERT_EQ(p->initialize(nullptr), kResultOk);
    EXPECT_EQ(p->getParameterCount(), 16);
    EXPECT_EQ(p->getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(p->getBusCount(kEvent, kInput), 1);
    ExpectedHostView::expectRootAndPresetUnits(p.processor);
}

TEST(Units, SelectedUnitFollowsSelectUnit)
{
    ProcessorHolder p(presetFixture("A", nullptr, nullptr));
    EXPECT_EQ(p->selectUnit(0), kResultOk);
    EXPECT_EQ(p->getSelectedUnit(), 0);
    EXPECT_EQ(p->selectUnit(1), kResultOk);
    EXPECT_EQ(p->getSelectedUnit(), 1);
    UnitID unit = 9;
    EXPECT_EQ(p->getUnitByBus(kAudio, kInput, 0, 0, unit), kResultFalse);
    EXPECT_EQ(p->hasProgramPitchNames(kParamFactoryPresets, 0), kResultFalse);
}
