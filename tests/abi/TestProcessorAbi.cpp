// The Processor as a host sees it: parameters, units, presets, buses and MIDI mapping.
#include "AbiFixture.h"
#include "support/ExpectedHostView.h"

using namespace AbiTest;

namespace {
std::string display(IEditController* controller, ParamID id, double v)
{
    String128 text = {};
    EXPECT_EQ(controller->getParamStringByValue(id, v, text), kResultOk) << "id " << id;
    return toUtf8(text, 128);
}
} // namespace

TEST_F(Bundle, TwentySixParametersInHostOrder)
{
    createInstance();
    IEditController* controller = instance.getController();
    ASSERT_NE(controller, nullptr);
    const std::vector<ExpectedHostView::ParameterRecord> expected = ExpectedHostView::hostOrder(
        {
            {0, "Gain", 1, 0, 0.5},
            {1, "Position", 9, 10, 0.0},
            {2, "Vol L-R", 1, 0, 1.0},
            {3, "Abs L-R", 1, 0, 0.5},
            {4, "Vol F-B", 1, 0, 1.0},
            {5, "Abs F-B", 1, 0, 0.5},
            {6, "Vol C-F", 1, 0, 1.0},
            {7, "Abs C-F", 1, 0, 0.5},
            {8, "Decay Type", 1, 1, 1.0},
            {9, "Stereo/Mono", 9, 1, 0.0},
            {10, "Left/Right", 9, 1, 0.0},
        },
        {{0x8000, "B1", 1, 0, 0.0}, {0x8001, "B2", 1, 0, 0.0}, {0x8002, "B3", 1, 0, 0.0}});
    ASSERT_EQ(expected.size(), 26u);
    ExpectedHostView::expectParameters(controller, expected);
    // No unit texts, and every value starts at its default.
    for (int32 i = 0; i < 26; ++i)
    {
        ParameterInfo info = {};
        ASSERT_EQ(controller->getParameterInfo(i, info), kResultOk);
        EXPECT_EQ(toUtf8(info.units, 128), "") << expected[i].title;
        EXPECT_NEAR(controller->getParamNormalized(info.id), expected[i].defaultValue, 1e-7)
            << expected[i].title;
    }
}

TEST_F(Bundle, DisplayTextsAndRanges)
{
    createInstance();
    IEditController* controller = instance.getController();
    const struct
    {
        ParamID id;
        double v;
        const char* text;
    } cases[] = {
        {0, 0.5, "0.50"},
        {3, 0.5, "7.00"},
        {3, 0.3792857, "5.31"},
        {1, 0.0, "Center"},
        {1, 0.5, "L90"},
        {1, 1.0, "R90"},
        {8, 0.0, "0"},
        {8, 1.0, "1"},
        {9, 1.0, "Mono"},
        {10, 0.0, "Left"},
        {10, 1.0, "Right"},
        {0x8005, 0.5, "0.50"},
        {0x8000, 1.0, "1"},
        {0x808, 1.0, "1.0000"},
        {0x800, 0.5, "0.5"},
        {0x70727374, 0.0, "Factory Preset"},
        {0x70727374, 1.0, "Studio"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(display(controller, c.id, c.v), c.text) << "id " << c.id << " v " << c.v;

    const struct
    {
        ParamID id;
        double min;
        double max;
    } ranges[] = {{0, 0.0, 1.0},  {1, 0.0, 10.0},     {3, 0.0, 14.0},        {8, 0.0, 1.0},
                  {10, 0.0, 1.0}, {0x8005, 0.0, 1.0}, {0x70727374, 0.0, 1.0}};
    for (const auto& r : ranges)
    {
        EXPECT_DOUBLE_EQ(controller->normalizedParamToPlain(r.id, 0.0), r.min) << r.id;
        EXPECT_NEAR(controller->normalizedParamToPlain(r.id, 1.0), r.max, 1e-6) << r.id;
    }
    EXPECT_EQ(controller->normalizedParamToPlain(0x4444, 0.3), 0.3);
    ParamValue parsed = -1.0;
    String128 typed = {};
    TessalineHost::toString128("L45", typed);
    ASSERT_EQ(controller->getParamValueByString(1, typed, parsed), kResultOk);
    EXPECT_NEAR(parsed, 0.3, 1e-9);
}

TEST_F(Bundle, UnitsAndTheFactoryPresetList)
{
    createInstance();
    IUnitInfo* units = instance.getUnitInfo();
    ASSERT_NE(units, nullptr);
    ExpectedHostView::expectRootAndPresetUnits(units);

    ASSERT_EQ(units->getProgramListCount(), 1);
    ProgramListInfo list = {};
    ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
    EXPECT_EQ(list.id, 0x70727374);
    EXPECT_EQ(toUtf8(list.name, 128), "Presets");
    EXPECT_EQ(list.programCount, 2);
    String128 name = {};
    ASSERT_EQ(units->getProgramName(0x70727374, 0, name), kResultOk);
    EXPECT_EQ(toUtf8(name, 128), "Factory Preset");
    ASSERT_EQ(units->getProgramName(0x70727374, 1, name), kResultOk);
    EXPECT_EQ(toUtf8(name, 128), "Studio");
    EXPECT_EQ(units->getProgramName(0x70727374, 2, name), kResultFalse);
    EXPECT_EQ(units->getProgramName(0, 0, name), kResultFalse);
    EXPECT_EQ(units->getProgramListInfo(1, list), kResultFalse);
}

TEST_F(Bundle, UnitsStaySingleAcrossReinitialize)
{
    createInstance();
    ASSERT_EQ(instance.terminate(), kResultOk);
    ASSERT_EQ(instance.initialize(), kResultOk);
    EXPECT_EQ(instance.getUnitInfo()->getUnitCount(), 2);
    EXPECT_EQ(instance.getController()->getParameterCount(), 26);
}

TEST_F(Bundle, BusesAsDeclared)
{
    createInstance();
    IComponent* component = instance.getComponent();
    ASSERT_EQ(component->getBusCount(kAudio, kOutput), 1);
    ASSERT_EQ(component->getBusCount(kAudio, kInput), 1);
    ASSERT_EQ(component->getBusCount(kEvent, kInput), 1);
    EXPECT_EQ(component->getBusCount(kEvent, kOutput), 0);
    const struct
    {
        MediaType type;
        BusDirection direction;
        const char* name;
        int32 channels;
    } buses[] = {{kAudio, kOutput, "Audio Output", 2},
                 {kAudio, kInput, "AudioInput", 2},
                 {kEvent, kInput, "Event Input", 16}};
    for (const auto& b : buses)
    {
        BusInfo info = {};
        ASSERT_EQ(component->getBusInfo(b.type, b.direction, 0, info), kResultOk) << b.name;
        EXPECT_EQ(toUtf8(info.name, 128), b.name);
        EXPECT_EQ(info.channelCount, b.channels) << b.name;
        EXPECT_EQ(info.busType, kMain) << b.name;
        EXPECT_EQ(info.flags & BusInfo::kDefaultActive, static_cast<uint32>(BusInfo::kDefaultActive))
            << b.name;
    }
}

TEST_F(Bundle, MidiControllersMapToPseudoParameters)
{
    createInstance();
    IMidiMapping* mapping = instance.getMidiMapping();
    ASSERT_NE(mapping, nullptr);
    const struct
    {
        int32 bus;
        CtrlNumber controller;
        tresult result;
        ParamID id;
    } cases[] = {
        {0, 7, kResultOk, 2050},  {0, 129, kResultOk, 2048}, {0, 128, kResultOk, 2054},
        {0, 1, kResultOk, 2049},  {0, 64, kResultOk, 2053},  {0, 123, kResultOk, 2055},
        {0, 74, kResultFalse, 0}, {0, 16, kResultFalse, 0},  {1, 7, kResultFalse, 999},
    };
    for (const auto& c : cases)
    {
        ParamID id = 999;
        EXPECT_EQ(mapping->getMidiControllerAssignment(c.bus, 3, c.controller, id), c.result)
            << "controller " << c.controller;
        EXPECT_EQ(id, c.id) << "controller " << c.controller;
    }
}
