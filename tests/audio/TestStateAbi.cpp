// The component state's bytes, its round trip and preset selection, through the ABI.
#include "AudioFixture.h"
#include "support/Noise.h"

#include "public.sdk/source/common/memorystream.h"

#include <string>
#include <utility>

using namespace AudioTest;
using TessalineHost::loadComponentState;
using TessalineHost::loadControllerState;
using TessalineHost::saveComponentState;

namespace {
struct Reader
{
    const std::vector<uint8_t>& bytes;
    size_t at = 0;
    template <typename T>
    T next()
    {
        T value;
        std::memcpy(&value, bytes.data() + at, sizeof value);
        at += sizeof value;
        return value;
    }
};

// Control values in list order: float, uint32 list, six floats, int32, two uint32 lists.
struct Controls
{
    float gain;
    uint32_t position;
    float room[6];
    int32_t decay;
    uint32_t stereoMono, leftRight;
    int16_t bypass;
    float x, y;
};

Controls decode(const std::vector<uint8_t>& bytes)
{
    Reader r{bytes};
    EXPECT_EQ(r.next<uint64_t>(), 1u);
    Controls c{};
    c.gain = r.next<float>();
    c.position = r.next<uint32_t>();
    for (float& v : c.room)
        v = r.next<float>();
    c.decay = r.next<int32_t>();
    c.stereoMono = r.next<uint32_t>();
    c.leftRight = r.next<uint32_t>();
    c.bypass = r.next<int16_t>();
    c.x = r.next<float>();
    c.y = r.next<float>();
    EXPECT_EQ(r.at, bytes.size());
    return c;
}
} // namespace

TEST_P(Bundle, StateIsSixtyTwoBytesOfTypedFields)
{
    HostInstance instance;
    start(instance);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(saveComponentState(instance.getComponent(), bytes), kResultOk);
    ASSERT_EQ(bytes.size(), 62u);
    const Controls c = decode(bytes);
    EXPECT_EQ(c.gain, 0.5f);
    EXPECT_EQ(c.position, 0u);
    const float room[6] = {1.0f, 7.0f, 1.0f, 7.0f, 1.0f, 7.0f};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(c.room[k], room[k]) << k;
    EXPECT_EQ(c.decay, 1);
    EXPECT_EQ(c.stereoMono, 0u);
    EXPECT_EQ(c.leftRight, 0u);
    EXPECT_EQ(c.bypass, 0);
    EXPECT_EQ(c.x, 0.0f);
    EXPECT_EQ(c.y, 0.0f);
}

TEST_P(Bundle, RestoredInstanceRendersBitIdenticalAudio)
{
    HostInstance first, second;
    start(first);
    // Move the room by automation while processing, then save.
    HostParameterChanges changes;
    changes.addChange(0, 0, 0.8);  // Gain
    changes.addChange(1, 0, 0.3);  // Position L45
    changes.addChange(3, 0, 0.25); // Abs L-R
    changes.addChange(8, 0, 0.0);  // exponential decay
    std::vector<float> l, r, input(3000), outA, outA2, outB, outB2;
    render(first, input, input, kBlock, l, r, &changes);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(saveComponentState(first.getComponent(), bytes), kResultOk);
    const Controls saved = decode(bytes);
    EXPECT_EQ(saved.gain, 0.8f);
    EXPECT_EQ(saved.position, 3u);
    EXPECT_EQ(saved.decay, 0);

    ASSERT_TRUE(second.create(module.factory(), cid()));
    ASSERT_EQ(second.initialize(), kResultOk);
    ASSERT_EQ(loadComponentState(second.getComponent(), bytes), kResultOk);
    ASSERT_EQ(loadControllerState(second.getController(), bytes), kResultOk);
    EXPECT_NEAR(second.getController()->getParamNormalized(0), 0.8, 1e-6);
    ASSERT_EQ(second.setupProcessing(rate(), kBlock), kResultOk);
    ASSERT_EQ(second.setActive(true), kResultOk);
    ASSERT_EQ(first.setActive(false), kResultOk);
    ASSERT_EQ(first.setActive(true), kResultOk); // both start from silence
    uint32_t seed = 7;
    for (float& s : input)
        s = 0.5f * TestSupport::lcgNoise(seed);
    render(first, input, input, 12000, outA, outA2);
    render(second, input, input, 12000, outB, outB2);
    EXPECT_EQ(outA, outB);
    EXPECT_EQ(outA2, outB2);
    std::vector<uint8_t> again;
    ASSERT_EQ(saveComponentState(second.getComponent(), again), kResultOk);
    EXPECT_EQ(again, bytes);
}

// The two classes share one state format: a project saved with one opens with the other.
TEST_P(Bundle, AStateSavedByOneClassLoadsInTheOther)
{
    HostInstance first, second;
    start(first);
    HostParameterChanges changes;
    changes.addChange(1, 0, 0.8); // Position R45
    changes.addChange(5, 0, 0.4); // Abs F-B
    std::vector<float> input(kBlock), l, r;
    render(first, input, input, kBlock, l, r, &changes);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(saveComponentState(first.getComponent(), bytes), kResultOk);

    TUID other;
    std::memcpy(other, GetParam().rateTrue ? Tessaline::kProcessorCid : Tessaline::kAnyRateCid, sizeof other);
    ASSERT_TRUE(second.create(module.factory(), other));
    ASSERT_EQ(second.initialize(), kResultOk);
    ASSERT_EQ(loadComponentState(second.getComponent(), bytes), kResultOk);
    ASSERT_EQ(loadControllerState(second.getController(), bytes), kResultOk);
    EXPECT_NEAR(second.getController()->getParamNormalized(1), 0.8, 1e-6);
    EXPECT_NEAR(second.getController()->getParamNormalized(5), 0.4, 1e-6);
    std::vector<uint8_t> again;
    ASSERT_EQ(saveComponentState(second.getComponent(), again), kResultOk);
    EXPECT_EQ(again, bytes);
}

TEST_P(Bundle, SelectingStudioReportsItsValuesAndStoresThem)
{
    HostInstance instance;
    start(instance);
    instance.handler().reset();
    IEditController* controller = instance.getController();
    ASSERT_EQ(controller->setParamNormalized(0x70727374, 1.0), kResultOk);
    // No run loop here: every value the program changed is reported within the call as an
    // edit, with the value the controller holds; never a restart.
    EXPECT_EQ(instance.handler().restartCount, 0);
    ASSERT_FALSE(instance.handler().edits.empty());
    EXPECT_EQ(instance.handler().beginEditCount, instance.handler().endEditCount);
    for (const auto& edit : instance.handler().edits)
        EXPECT_EQ(edit.value, controller->getParamNormalized(edit.id)) << edit.id;
    const size_t reported = instance.handler().edits.size();
    std::vector<uint8_t> bytes;
    ASSERT_EQ(saveComponentState(instance.getComponent(), bytes), kResultOk);
    EXPECT_EQ(instance.handler().restartCount, 0); // nothing from inside getState
    EXPECT_EQ(instance.handler().edits.size(), reported);
    const Controls c = decode(bytes);
    EXPECT_EQ(c.gain, 0.5f);
    EXPECT_EQ(c.position, 5u);
    EXPECT_NEAR(c.room[1], 5.31f, 1e-5f);
    EXPECT_NEAR(c.room[3], 7.54f, 1e-5f);
    EXPECT_NEAR(c.room[5], 9.49f, 1e-5f);
    EXPECT_EQ(c.decay, 0);
    EXPECT_NEAR(controller->getParamNormalized(1), 0.5, 1e-9);
    // The next block renders with the preset; the saved values stay.
    HostAudioBuffers buffers(2, 2, kBlock);
    ASSERT_EQ(instance.process(buffers, kBlock), kResultOk);
    std::vector<uint8_t> after;
    ASSERT_EQ(saveComponentState(instance.getComponent(), after), kResultOk);
    EXPECT_EQ(after, bytes);
    EXPECT_EQ(instance.handler().restartCount, 0);
    EXPECT_EQ(controller->setParamNormalized(0x70727374, 2.0), kResultFalse);
}

TEST_P(Bundle, AnEditAfterAProgramChangeIsWhatTheHostSeesAndTheStateHolds)
{
    // The program chosen both ways (controller and processing), then Abs L-R edited both ways:
    // the saved state, the sound and every later read of the parameter keep the edit.
    HostInstance instance;
    start(instance);
    IEditController* controller = instance.getController();
    HostAudioBuffers buffers(2, 2, kBlock);
    HostParameterChanges program;
    program.addChange(0x70727374, 0, 1.0);
    ASSERT_EQ(controller->setParamNormalized(0x70727374, 1.0), kResultOk);
    ASSERT_EQ(instance.process(buffers, kBlock, &program), kResultOk);
    instance.handler().reset();
    HostParameterChanges edit;
    edit.addChange(3, 0, 0.9);
    ASSERT_EQ(controller->setParamNormalized(3, 0.9), kResultOk);
    ASSERT_EQ(instance.process(buffers, kBlock, &edit), kResultOk);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(saveComponentState(instance.getComponent(), bytes), kResultOk);
    EXPECT_EQ(instance.handler().restartCount, 0);
    EXPECT_TRUE(instance.handler().edits.empty());
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(3), 0.9);
    EXPECT_NEAR(decode(bytes).room[1], 0.9f * 14.0f, 1e-4f);
    // The same with the program change arriving only through the processing path, in the block
    // that also carries the edit.
    HostParameterChanges both;
    both.addChange(3, 0, 0.2);
    both.addChange(0x70727374, 0, 0.0);
    ASSERT_EQ(controller->setParamNormalized(3, 0.2), kResultOk);
    ASSERT_EQ(instance.process(buffers, kBlock, &both), kResultOk);
    ASSERT_EQ(saveComponentState(instance.getComponent(), bytes), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(3), 0.2);
    EXPECT_NEAR(decode(bytes).room[1], 0.2f * 14.0f, 1e-4f);
}

TEST_P(Bundle, AReopenedProjectKeepsTheEditsMadeAfterAProgram)
{
    // "Studio" chosen (through the controller or a block), Vol L-R edited to 0.76, the project
    // saved: both states and every value a host stores (the automatable ones and the program's).
    // Reopened, the host restores the states and sets every stored value again (through the
    // controller in index order, or in one block): the program must not come back over the edit.
    const ParamID kProgram = 0x70727374;
    for (bool programInBlock : {false, true})
    {
        for (bool valuesInBlock : {false, true})
        {
            SCOPED_TRACE(std::string("program through ") + (programInBlock ? "a block" : "the controller")
                         + ", values set again through " + (valuesInBlock ? "a block" : "the controller"));
            HostInstance saved;
            start(saved);
            IEditController* controller = saved.getController();
            HostAudioBuffers buffers(2, 2, kBlock);
            HostParameterChanges program;
            program.addChange(kProgram, 0, 1.0);
            if (!programInBlock)
            {
                ASSERT_EQ(controller->setParamNormalized(kProgram, 1.0), kResultOk);
            }
            ASSERT_EQ(saved.process(buffers, kBlock, programInBlock ? &program : nullptr), kResultOk);
            HostParameterChanges edit;
            edit.addChange(2, 0, 0.76);
            ASSERT_EQ(controller->setParamNormalized(2, 0.76), kResultOk);
            ASSERT_EQ(saved.process(buffers, kBlock, &edit), kResultOk);
            std::vector<uint8_t> component;
            ASSERT_EQ(saveComponentState(saved.getComponent(), component), kResultOk);
            auto controllerState = owned(new MemoryStream);
            ASSERT_EQ(controller->getState(controllerState), kResultOk);
            std::vector<std::pair<ParamID, ParamValue>> values;
            for (int32 k = 0; k < controller->getParameterCount(); ++k)
            {
                ParameterInfo info{};
                ASSERT_EQ(controller->getParameterInfo(k, info), kResultOk);
                if (!(info.flags & ParameterInfo::kIsReadOnly)
                    && (info.flags & (ParameterInfo::kCanAutomate | ParameterInfo::kIsProgramChange)))
                    values.emplace_back(info.id, controller->getParamNormalized(info.id));
            }
            ASSERT_EQ(values.back(), std::make_pair(kProgram, 1.0));
            EXPECT_NEAR(decode(component).room[0], 0.76f, 1e-6f);

            HostInstance reopened;
            start(reopened);
            IEditController* again = reopened.getController();
            ASSERT_EQ(loadComponentState(reopened.getComponent(), component), kResultOk);
            ASSERT_EQ(loadControllerState(again, component), kResultOk);
            controllerState->seek(0, IBStream::kIBSeekSet, nullptr);
            ASSERT_EQ(again->setState(controllerState), kResultOk);
            HostParameterChanges replay(64, 4);
            for (const auto& [id, value] : values)
            {
                if (valuesInBlock)
                {
                    replay.addChange(id, 0, value);
                }
                else
                {
                    ASSERT_EQ(again->setParamNormalized(id, value), kResultOk) << id;
                }
            }
            ASSERT_EQ(reopened.process(buffers, kBlock, &replay), kResultOk);
            for (ParamID id = 0; id < 11; ++id)
                EXPECT_NEAR(again->getParamNormalized(id), controller->getParamNormalized(id), 1e-6) << id;
            EXPECT_EQ(again->getParamNormalized(kProgram), 1.0); // "Studio" still shows
            std::vector<uint8_t> reopenedState;
            ASSERT_EQ(saveComponentState(reopened.getComponent(), reopenedState), kResultOk);
            EXPECT_EQ(reopenedState, component);
        }
    }
}

TEST_P(Bundle, ControllerEditsAreInTheStateSavedRightAfterThem)
{
    // A host sets Gain 0.7 and Decay Type 0 through the controller and saves before any block.
    HostInstance instance;
    start(instance);
    IEditController* controller = instance.getController();
    ASSERT_EQ(controller->setParamNormalized(0, 0.7), kResultOk);
    ASSERT_EQ(controller->setParamNormalized(8, 0.0), kResultOk);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(saveComponentState(instance.getComponent(), bytes), kResultOk);
    const Controls c = decode(bytes);
    EXPECT_EQ(c.gain, 0.7f);
    EXPECT_EQ(c.decay, 0);
}

TEST_P(Bundle, UnitAndProgramQueries)
{
    HostInstance instance;
    start(instance);
    IUnitInfo* units = instance.getUnitInfo();
    ASSERT_NE(units, nullptr);
    EXPECT_EQ(units->getUnitCount(), 2);
    ASSERT_EQ(units->getProgramListCount(), 1);
    ProgramListInfo list = {};
    ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
    EXPECT_EQ(list.id, 0x70727374);
    EXPECT_EQ(list.programCount, 2);
    EXPECT_EQ(TessalineHost::toUtf8(list.name), "Presets");
    EXPECT_EQ(units->getProgramListInfo(1, list), kResultFalse);
    String128 name = {};
    ASSERT_EQ(units->getProgramName(0x70727374, 1, name), kResultOk);
    EXPECT_EQ(TessalineHost::toUtf8(name), "Studio");
    EXPECT_EQ(units->getProgramName(0x70727374, 2, name), kResultFalse);
    EXPECT_EQ(units->getProgramName(0, 0, name), kResultFalse);
}

TEST_P(Bundle, EveryRoomControlReadsBackWhatARestoredStateHolds)
{
    // Save, move the control elsewhere, restore (both readers, as a host restoring a project
    // does), read: whatever the host set in between, the control shows the saved value. Fractions
    // of Decay Type (0.21, 0.679) are held as the whole value the room uses, in the parameter, its
    // text and the saved state alike.
    HostInstance instance;
    start(instance);
    IEditController* controller = instance.getController();
    HostAudioBuffers buffers(2, 2, kBlock);
    auto set = [&](ParamID id, double v) {
        ASSERT_EQ(controller->setParamNormalized(id, v), kResultOk);
        HostParameterChanges change;
        change.addChange(id, 0, v);
        ASSERT_EQ(instance.process(buffers, kBlock, &change), kResultOk);
    };
    const double values[] = {0.0, 0.21, 0.5, 0.679, 1.0};
    constexpr ParamID kDecayType = 8;
    constexpr ParamID kMidiVol = 0x802;
    for (ParamID k = 0; k < 11; ++k)
        for (double saved : values)
            for (double other : values)
            {
                if (other == saved)
                    continue;
                set(k, saved);
                const double held = controller->getParamNormalized(k);
                std::vector<uint8_t> bytes;
                ASSERT_EQ(saveComponentState(instance.getComponent(), bytes), kResultOk);
                if (k == kDecayType)
                {
                    const int32_t whole = saved < 0.5 ? 0 : 1;
                    EXPECT_EQ(held, whole) << "Decay Type set to " << saved;
                    EXPECT_EQ(decode(bytes).decay, whole) << saved;
                    String128 text = {};
                    ASSERT_EQ(controller->getParamStringByValue(k, saved, text), kResultOk);
                    EXPECT_EQ(TessalineHost::toUtf8(text), whole ? "1" : "0") << saved;
                }
                set(k, other);
                set(kMidiVol, other); // outside the state: the host's value stays
                ASSERT_EQ(loadComponentState(instance.getComponent(), bytes), kResultOk);
                ASSERT_EQ(loadControllerState(controller, bytes), kResultOk);
                if (k == 0 || (k >= 2 && k <= 7)) // continuous: through the state's float32
                {
                    EXPECT_NEAR(controller->getParamNormalized(k), held, 1e-6)
                        << "control " << k << " saved " << saved << " then " << other;
                }
                else
                {
                    EXPECT_EQ(controller->getParamNormalized(k), held)
                        << "control " << k << " saved " << saved << " then " << other;
                }
                EXPECT_EQ(controller->getParamNormalized(kMidiVol), other);
                // The sound follows: the next state saved holds the restored value.
                ASSERT_EQ(instance.process(buffers, kBlock), kResultOk);
                std::vector<uint8_t> again;
                ASSERT_EQ(saveComponentState(instance.getComponent(), again), kResultOk);
                EXPECT_EQ(again, bytes) << "control " << k << " saved " << saved << " then " << other;
            }
}
