// What a host sees of the parameters and units every Processor declares around its DSP object's
// controls, shared by the adapter tests (fixture DSP objects) and the bundle tests (the effect).
#pragma once

#include "HostStrings.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace ExpectedHostView {

using Steinberg::int32;
using Steinberg::Vst::ParamID;

struct ParameterRecord
{
    ParamID id;
    const char* title;
    int32 flags;
    int32 stepCount;
    double defaultValue; // below 0: not compared (warped defaults are checked apart)
};

// Host order: the controls, the joystick axes, the DSP object's buttons, then bypass, the MIDI
// pseudo-parameters and the factory preset list.
inline std::vector<ParameterRecord> hostOrder(std::initializer_list<ParameterRecord> controls,
                                              std::initializer_list<ParameterRecord> buttons)
{
    std::vector<ParameterRecord> order(controls);
    order.push_back({0x8005, "VectorJoystick X", 1, 0, 0.5});
    order.push_back({0x8006, "VectorJoystick Y", 1, 0, 0.5});
    order.insert(order.end(), buttons);
    order.insert(order.end(), {
                                  {0x808, "Bypass", 0x10001, 0, 0.0},
                                  {0x800, "PitchBend", 1, 0, 0.0},
                                  {0x802, "MIDI Vol", 1, 0, 0.0},
                                  {0x803, "MIDI Pan", 1, 0, 0.0},
                                  {0x801, "MIDI Mod Wheel", 1, 0, 0.0},
                                  {0x804, "MIDI Expression", 1, 0, 0.0},
                                  {0x806, "MIDI Channel Pressure", 1, 0, 0.0},
                                  {0x805, "MIDI Sustain Pedal", 1, 0, 0.0},
                                  {0x807, "All Notes Off", 1, 0, 0.0},
                                  {0x70727374, "Factory Presets", 0x8008, 1, 0.0},
                              });
    return order;
}

// Every parameter's record in order, and nothing beyond.
inline void expectParameters(Steinberg::Vst::IEditController* controller,
                             const std::vector<ParameterRecord>& expected)
{
    using TessalineHost::toUtf8;
    ASSERT_EQ(controller->getParameterCount(), static_cast<int32>(expected.size()));
    for (int32 i = 0; i < controller->getParameterCount(); ++i)
    {
        Steinberg::Vst::ParameterInfo info = {};
        ASSERT_EQ(controller->getParameterInfo(i, info), Steinberg::kResultOk) << "index " << i;
        const ParameterRecord& e = expected[static_cast<size_t>(i)];
        EXPECT_EQ(info.id, e.id) << "index " << i;
        EXPECT_EQ(toUtf8(info.title, 128), e.title) << "index " << i;
        EXPECT_EQ(toUtf8(info.shortTitle, 128), "") << e.title;
        EXPECT_EQ(info.flags, e.flags) << e.title;
        EXPECT_EQ(info.stepCount, e.stepCount) << e.title;
        EXPECT_EQ(info.unitId, 0) << e.title;
        if (e.defaultValue >= 0.0)
        {
            EXPECT_NEAR(info.defaultNormalizedValue, e.defaultValue, 1e-7) << e.title;
        }
    }
    Steinberg::Vst::ParameterInfo beyond = {};
    EXPECT_NE(controller->getParameterInfo(controller->getParameterCount(), beyond), Steinberg::kResultOk);
}

// The root unit and the preset unit that carries the factory preset list.
inline void expectRootAndPresetUnits(Steinberg::Vst::IUnitInfo* units)
{
    using namespace Steinberg::Vst;
    using TessalineHost::toUtf8;
    ASSERT_EQ(units->getUnitCount(), 2);
    UnitInfo root = {};
    UnitInfo presets = {};
    ASSERT_EQ(units->getUnitInfo(0, root), Steinberg::kResultOk);
    ASSERT_EQ(units->getUnitInfo(1, presets), Steinberg::kResultOk);
    EXPECT_EQ(root.id, 1);
    EXPECT_EQ(root.parentUnitId, 0);
    EXPECT_EQ(toUtf8(root.name, 128), "RootUnit");
    EXPECT_EQ(root.programListId, kNoProgramListId);
    EXPECT_EQ(presets.id, 0);
    EXPECT_EQ(presets.parentUnitId, 1);
    EXPECT_EQ(toUtf8(presets.name, 128), "PresetsUnit");
    EXPECT_EQ(presets.programListId, 0x70727374);
}

} // namespace ExpectedHostView
