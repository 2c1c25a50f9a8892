// The parameter registry on its own, as a plug-in format other than VST3 uses it: this
// executable links the format-neutral adapter library and the DSP side only, no SDK library.
#include "adapter/parameters/ParameterRegistry.h"
#include "room/CTessaline.h"
#include "support/DspWithControls.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace Steinberg::Vst::Vava2DUZ3;
using Curve = ParameterDescription::Curve;

namespace {
std::vector<uint32_t> idsOf(const CParameterRegistry& registry)
{
    std::vector<uint32_t> ids;
    for (const ParameterDescription& description : registry.parameters())
        ids.push_back(description.id);
    return ids;
}

const std::vector<uint32_t> kBypassAndMidi = {kParamBypass,          kParamPitchBend,    kParamMidiVol,
                                              kParamMidiPan,         kParamModWheel,     kParamMidiExpression,
                                              kParamChannelPressure, kParamSustainPedal, kParamAllNotesOff};
} // namespace

TEST(ParameterRegistry, RoomPlugInInHostOrderWithListsUnitsAndPresets)
{
    std::unique_ptr<CPlugIn> room(createPlugIn());
    room->postConstruct();
    CParameterRegistry registry;
    registry.build(room.get());

    std::vector<uint32_t> expected = {0,
                                      1,
                                      2,
                                      3,
                                      4,
                                      5,
                                      6,
                                      7,
                                      8,
                                      9,
                                      10,
                                      kParamJoystickX,
                                      kParamJoystickY,
                                      kParamButton1,
                                      kParamButton2,
                                      kParamButton3};
    expected.insert(expected.end(), kBypassAndMidi.begin(), kBypassAndMidi.end());
    EXPECT_EQ(idsOf(registry), expected);

    const ParameterDescription* position = registry.find(1);
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(position->title, "Position");
    EXPECT_EQ(position->curve, Curve::kList);
    ASSERT_EQ(position->entries.size(), 11u);
    EXPECT_EQ(position->entries.front(), "Center");
    EXPECT_EQ(position->entries.back(), "R90");
    const ParameterDescription* absorption = registry.find(3);
    ASSERT_NE(absorption, nullptr);
    EXPECT_EQ(absorption->title, "Abs L-R");
    EXPECT_EQ(absorption->curve, Curve::kLinear);
    EXPECT_EQ(absorption->max, 14.0);
    EXPECT_EQ(absorption->defaultPlain, 7.0);
    EXPECT_TRUE(absorption->automatable);
    EXPECT_TRUE(registry.find(kParamBypass)->bypass);
    EXPECT_TRUE(registry.meterIds().empty());

    ASSERT_TRUE(registry.presetList().has_value());
    EXPECT_EQ(registry.presetList()->entries, (std::vector<std::string>{"Factory Preset", "Studio"}));
    EXPECT_TRUE(registry.presetList()->programChange);
    EXPECT_FALSE(registry.presetList()->automatable);
    EXPECT_EQ(registry.find(kParamFactoryPresets), &*registry.presetList());
    ASSERT_EQ(registry.units().size(), 2u);
    EXPECT_EQ(registry.units()[0].id, kRootUnitIdOfProcessor);
    EXPECT_EQ(registry.units()[0].programListId, kNoProgramList);
    EXPECT_EQ(registry.units()[1].id, kPresetsUnitId);
    EXPECT_EQ(registry.units()[1].parentId, kRootUnitIdOfProcessor);
    EXPECT_EQ(registry.units()[1].programListId, static_cast<int32_t>(kParamFactoryPresets));
}

TEST(ParameterRegistry, KindsCurvesAndWhatIsLeftOut)
{
    TessalineTest::DspWithControls dsp;
    CControlEntry& gain = dsp.addControl("Gain", 100, kDataFloat, 0.0f, 1.0f, 0.25f);
    CControlEntry::setText(gain.szUnits, "dB");
    CControlEntry& mode = dsp.addControl("Mode", 100, kDataUint, 0.0f, 2.0f, 1.0f);
    CControlEntry::setText(mode.szEnumList, "SWITCH_OFF,SWITCH_ON, Third");
    dsp.addControl("Level", kControlKindMeter, kDataFloat, 0.0f, 1.0f, 0.0f);
    dsp.addControl("Freq", 102, kDataFloat, 20.0f, 20000.0f, 1000.0f).bLogControl = true;
    dsp.addControl("Pitch", 104, kDataFloat, 20.0f, 20480.0f, 640.0f).bVoltOctave = true;
    dsp.addControl("Count", 106, kDataInt, 0.0f, 10.0f, 4.0f).nPrecision = 3;
    dsp.addControl("Hidden", 101, kDataFloat, 0.0f, 1.0f, 0.0f);
    dsp.m_ButtonLabels[1] = "";
    dsp.m_PresetNames[0] = "Init";
    dsp.m_PresetNames[2] = "Wide";
    CParameterRegistry registry;
    registry.build(&dsp);

    // The hidden kind (101) is no parameter; its position stays a gap. The empty button is left out.
    std::vector<uint32_t> expected = {
        0, 1, 2, 3, 4, 5, kParamJoystickX, kParamJoystickY, kParamButton1, kParamButton3};
    expected.insert(expected.end(), kBypassAndMidi.begin(), kBypassAndMidi.end());
    EXPECT_EQ(idsOf(registry), expected);

    struct Case
    {
        uint32_t id;
        Curve curve;
        int32_t precision;
        bool readOnly;
    };
    const Case cases[] = {
        {0, Curve::kLinear, 2, false},
        {1, Curve::kList, -1, false},
        {2, Curve::kPeak, -1, true},
        {3, Curve::kLog, 2, false},
        {4, Curve::kVoltOctave, 2, false},
        {5, Curve::kLinear, 0, false}, // integers show no decimals, whatever the control says
        {kParamJoystickX, Curve::kLinear, 2, false},
        {kParamButton3, Curve::kLinear, 0, false},
        {kParamPitchBend, Curve::kLinear, 1, false},
        {kParamBypass, Curve::kLinear, -1, false},
    };
    for (const Case& c : cases)
    {
        const ParameterDescription* description = registry.find(c.id);
        ASSERT_NE(description, nullptr) << c.id;
        EXPECT_EQ(description->curve, c.curve) << description->title;
        EXPECT_EQ(description->precision, c.precision) << description->title;
        EXPECT_EQ(description->readOnly, c.readOnly) << description->title;
        EXPECT_EQ(description->automatable, !c.readOnly) << description->title;
    }
    EXPECT_EQ(registry.find(0)->units, "dB");
    EXPECT_EQ(registry.find(0)->defaultPlain, 0.25);
    EXPECT_EQ(registry.find(1)->entries, (std::vector<std::string>{"OFF", "ON", " Third"}));
    EXPECT_EQ(registry.find(6), nullptr);
    EXPECT_EQ(registry.meterIds(), std::vector<int32_t>{2});
    // Named slots only, in slot order: list positions close up over the empty slot.
    EXPECT_EQ(registry.presetList()->entries, (std::vector<std::string>{"Init", "Wide"}));

    // A second build describes the object afresh instead of adding to the first.
    dsp.m_PresetNames[0] = nullptr;
    dsp.m_PresetNames[2] = nullptr;
    registry.build(&dsp);
    EXPECT_EQ(idsOf(registry), expected);
    EXPECT_FALSE(registry.presetList().has_value());
    EXPECT_EQ(registry.units().size(), 1u);
}

TEST(ParameterRegistry, WithoutADspObjectOnlyBypassMidiAndTheRootUnit)
{
    CParameterRegistry registry;
    registry.build(nullptr);
    EXPECT_EQ(idsOf(registry), kBypassAndMidi);
    EXPECT_FALSE(registry.presetList().has_value());
    ASSERT_EQ(registry.units().size(), 1u);
    EXPECT_EQ(registry.units()[0].id, kRootUnitIdOfProcessor);
}

TEST(ParameterRegistry, ShowsAndParsesPlainValues)
{
    EXPECT_EQ(CParameterRegistry::formatPlain(1000.0, 2), "1000.00");
    EXPECT_EQ(CParameterRegistry::formatPlain(0.125, 0), "0");
    EXPECT_EQ(CParameterRegistry::formatPlain(-3.14159, 3), "-3.142");
    EXPECT_EQ(CParameterRegistry::formatPlain(2.5, -1), "2.500000");
    struct Case
    {
        const char* text;
        std::optional<double> plain;
    };
    const Case cases[] = {
        {"12.5", 12.5},     {"  440 Hz", 440.0},   {"-3e2dB", -300.0},    {"Hz 440", std::nullopt},
        {"", std::nullopt}, {"inf", std::nullopt}, {"nan", std::nullopt}, {nullptr, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CParameterRegistry::parsePlain(c.text), c.plain) << (c.text ? c.text : "(null)");
}
