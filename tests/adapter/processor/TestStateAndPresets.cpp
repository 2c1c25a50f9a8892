// Component state and presets with the hand-off between the main and the audio thread.
#include "ProcessFixture.h"

#include "HostComponentHandler.h"

#include <cmath>
#include <limits>

using namespace AdapterTest;

namespace {
// Gain (float), Choice (uint32), Count (int32), bypass, joystick: 30 bytes for version 1.
std::vector<uint8_t> stateBytes(uint64_t version, float gain, uint32_t choice, int32_t count, int16_t bypass,
                                float x, float y, bool withJoystick = true)
{
    std::vector<uint8_t> out;
    putLE(out, version);
    putLE(out, gain);
    putLE(out, choice);
    putLE(out, count);
    putLE(out, bypass);
    if (withJoystick)
    {
        putLE(out, x);
        putLE(out, y);
    }
    return out;
}

struct Values
{
    float gain;
    uint32_t choice;
    int32_t count;
    float x;
};

Values valuesOf(RecordingDsp& dsp)
{
    float x = 0.0f, y = 0.0f;
    dsp.getJoystickValues(x, y);
    return {dsp.values[0], dsp.choices[1], dsp.integers[2], x};
}
} // namespace

TEST(State, WritesTheLayoutFieldByFieldAndReadsItBack)
{
    ProcessRig rig(nullptr, false);
    const std::vector<uint8_t> fresh = saveState(rig.holder.processor);
    EXPECT_EQ(fresh, stateBytes(1, 0.5f, 0, 1, 0, 0.0f, 0.0f));
    const auto bytes = stateBytes(1, 0.25f, 7, 3, 1, 0.5f, -0.5f);
    EXPECT_EQ(rig->setState(streamOf(bytes)), kResultOk);
    EXPECT_EQ(saveState(rig.holder.processor), bytes);
    const Values v = valuesOf(*rig.dsp);
    EXPECT_EQ(v.gain, 0.25f);
    EXPECT_EQ(v.choice, 7u);
    EXPECT_EQ(v.count, 3);
    EXPECT_EQ(v.x, 0.5f);
}

TEST(State, ShortOrDamagedStreamsChangeNothing)
{
    const auto full = stateBytes(1, 0.25f, 7, 3, 1, 0.5f, -0.5f);
    const size_t cuts[] = {0, 4, 8, 12, 19, 20, 21, 22, 26, 29};
    for (size_t cut : cuts)
    {
        ProcessRig rig(nullptr, false);
        const auto before = saveState(rig.holder.processor);
        std::vector<uint8_t> shortStream(full.begin(), full.begin() + static_cast<long>(cut));
        EXPECT_EQ(rig->setState(streamOf(shortStream)), kResultFalse) << cut;
        EXPECT_EQ(rig->setComponentState(streamOf(shortStream)), kResultFalse) << cut;
        EXPECT_EQ(saveState(rig.holder.processor), before) << cut;
        EXPECT_EQ(rig.dsp->values[0], 0.5f);
    }
    ProcessRig rig(nullptr, false);
    auto laterWithoutJoystick = stateBytes(2, 0.25f, 7, 3, 1, 0.5f, -0.5f, false);
    EXPECT_EQ(rig->setState(streamOf(laterWithoutJoystick)), kResultFalse)
        << "a later version needs the joystick";
    EXPECT_EQ(rig->setComponentState(streamOf(laterWithoutJoystick)), kResultFalse);
    EXPECT_EQ(rig->setState(nullptr), kResultFalse);
    EXPECT_EQ(rig.dsp->values[0], 0.5f);
}

// A project saved by a later version that appends fields opens here with the fields this build
// knows; the appended bytes are ignored.
TEST(State, LaterVersionWithAppendedFieldsLoads)
{
    for (uint64_t version : {uint64_t{2}, uint64_t{7}, ~uint64_t{0}})
    {
        ProcessRig rig(nullptr, false);
        auto bytes = stateBytes(version, 0.25f, 7, 3, 1, 0.5f, -0.5f);
        bytes.insert(bytes.end(), {0xAB, 0xCD, 0xEF, 0x01, 0x23});
        EXPECT_EQ(rig->setState(streamOf(bytes)), kResultOk) << version;
        EXPECT_EQ(rig->setComponentState(streamOf(bytes)), kResultOk) << version;
        const Values v = valuesOf(*rig.dsp);
        EXPECT_EQ(v.gain, 0.25f);
        EXPECT_EQ(v.choice, 7u);
        EXPECT_EQ(v.count, 3);
        EXPECT_EQ(v.x, 0.5f);
        EXPECT_EQ(rig->getParamNormalized(kParamBypass), 1.0);
        EXPECT_EQ(saveState(rig.holder.processor), stateBytes(1, 0.25f, 7, 3, 1, 0.5f, -0.5f))
            << "saved again in this build's own layout";
    }
}

TEST(State, VersionZeroEndsAfterBypassAndKeepsTheJoystick)
{
    ProcessRig rig(nullptr, false);
    rig.dsp->setJoystickX(0.3f, true);
    EXPECT_EQ(rig->setState(streamOf(stateBytes(0, 0.75f, 2, 2, 1, 0, 0, false))), kResultOk);
    EXPECT_EQ(rig.dsp->values[0], 0.75f);
    EXPECT_EQ(valuesOf(*rig.dsp).x, 0.3f);
}

TEST(State, RestoredValuesAreClampedAndNonFiniteOnesKeepTheCurrentValue)
{
    ProcessRig rig(nullptr, false);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(rig->setState(streamOf(stateBytes(1, 5.0f, 99, -4, 0, 3.0f, nan))), kResultOk);
    EXPECT_EQ(rig.dsp->values[0], 1.0f);
    EXPECT_EQ(rig.dsp->choices[1], 10u);
    EXPECT_EQ(rig.dsp->integers[2], 0);
    float x = 0.0f, y = 0.0f;
    rig.dsp->getJoystickValues(x, y);
    EXPECT_EQ(x, 1.0f);
    EXPECT_EQ(y, 0.0f);
    EXPECT_EQ(rig->setState(streamOf(stateBytes(1, nan, 3, 1, 0, 0, 0))), kResultOk);
    EXPECT_EQ(rig.dsp->values[0], 1.0f);
    // Through the controller: the same clamping, in the parameters and the DSP object alike.
    rig.dsp->values[0] = 0.5f;
    EXPECT_EQ(rig->setComponentState(streamOf(stateBytes(1, 5.0f, 4, 2, 1, 0, 0))), kResultOk);
    EXPECT_EQ(rig->getParamNormalized(0), 1.0);
    EXPECT_DOUBLE_EQ(rig->getParamNormalized(2), 0.5);
    EXPECT_EQ(rig->getParamNormalized(kParamBypass), 1.0);
    EXPECT_EQ(rig.dsp->values[0], 1.0f);
    EXPECT_EQ(rig.dsp->choices[1], 4u);
}

TEST(StateWhileActive, ChangesWaitForTheNextBlockButGetStateSeesThemAtOnce)
{
    ProcessRig rig; // active
    const auto bytes = stateBytes(1, 0.25f, 7, 3, 1, 0.5f, -0.5f);
    EXPECT_EQ(rig->setState(streamOf(bytes)), kResultOk);
    EXPECT_EQ(rig.dsp->values[0], 0.5f); // not applied on the main thread
    EXPECT_EQ(saveState(rig.holder.processor), bytes);
    rig.run(8);
    EXPECT_EQ(rig.dsp->values[0], 0.25f);
    EXPECT_EQ(rig.dsp->choices[1], 7u);
    EXPECT_EQ(saveState(rig.holder.processor), bytes);
    // Two changes before a block: both arrive (the preset does not undo the restored bypass).
    EXPECT_EQ(rig->setState(streamOf(stateBytes(1, 0.1f, 1, 1, 0, 0, 0))), kResultOk);
    EXPECT_EQ(rig->setParamNormalized(kParamFactoryPresets, 1.0), kResultOk);
    const auto pending = saveState(rig.holder.processor);
    EXPECT_EQ(pending, stateBytes(1, 0.75f, 7, 3, 0, 0, 0));
    rig.run(8);
    EXPECT_EQ(saveState(rig.holder.processor), pending);
    // Deactivation applies what no block took.
    EXPECT_EQ(rig->setState(streamOf(bytes)), kResultOk);
    EXPECT_EQ(rig->setActive(false), kResultOk);
    EXPECT_EQ(rig.dsp->values[0], 0.25f);
}

TEST(Presets, ListPositionSelectsTheNthNamedSlotAndReportsEachChangedValue)
{
    ProcessRig rig(nullptr, false);
    auto handler = owned(new TessalineHost::HostComponentHandler);
    rig->setComponentHandler(handler);
    // Slots 0 and 2 are named: position 1 is slot 2.
    EXPECT_EQ(rig->setParamNormalized(kParamFactoryPresets, 1.0), kResultOk);
    EXPECT_EQ(rig.dsp->values[0], 0.75f);
    EXPECT_EQ(rig.dsp->choices[1], 7u);
    EXPECT_EQ(rig.dsp->integers[2], 3);
    EXPECT_DOUBLE_EQ(rig->getParamNormalized(0), 0.75);
    EXPECT_NEAR(rig->getParamNormalized(2), 0.75, 1e-6);
    // A host without a run loop learns the changed values within its call, one complete edit
    // each, and never through a restart.
    ASSERT_EQ(handler->edits.size(), 3u);
    EXPECT_EQ(handler->beginEditCount, 3);
    EXPECT_EQ(handler->endEditCount, 3);
    EXPECT_EQ(handler->edits[0].id, 0u);
    EXPECT_DOUBLE_EQ(handler->edits[0].value, 0.75);
    EXPECT_NEAR(handler->edits[2].value, 0.75, 1e-6);
    rig->hostNotifier().deliverPending();
    EXPECT_EQ(handler->edits.size(), 3u);
    EXPECT_EQ(handler->restartCount, 0);
    // Choosing the same program again changes nothing, so nothing is reported.
    EXPECT_EQ(rig->setParamNormalized(kParamFactoryPresets, 1.0), kResultOk);
    EXPECT_EQ(handler->edits.size(), 3u);
    EXPECT_EQ(rig->setParamNormalized(kParamFactoryPresets, 0.0), kResultOk);
    EXPECT_EQ(rig.dsp->values[0], 0.25f);
    rig->setComponentHandler(nullptr);
}

TEST(Presets, ValuesOutsideTheListOrNotFiniteAreRefused)
{
    ProcessRig rig(nullptr, false);
    const double refused[] = {std::nan(""), std::numeric_limits<double>::infinity(), 1.5, -0.1};
    for (double v : refused)
    {
        EXPECT_EQ(rig->setParamNormalized(kParamFactoryPresets, v), kResultFalse) << v;
        EXPECT_EQ(rig.dsp->values[0], 0.5f);
    }
    // An ordinary parameter takes a value outside 0 .. 1 clamped, and refuses one not finite.
    for (double v : refused)
    {
        const tresult result = rig->setParamNormalized(0, v);
        EXPECT_FALSE(result == kResultOk && std::isnan(rig->getParamNormalized(0))) << v;
        EXPECT_TRUE(rig.dsp->values[0] >= 0.0f && rig.dsp->values[0] <= 1.0f) << v;
    }
    String128 name = {};
    EXPECT_EQ(rig->getProgramName(kParamFactoryPresets, 2, name), kResultFalse);
    EXPECT_EQ(rig->getProgramName(kParamFactoryPresets, -1, name), kResultFalse);
    EXPECT_EQ(rig->getProgramName(kParamFactoryPresets, 1, name), kResultOk);
    EXPECT_EQ(toUtf8(name), "Third");
}
