// A state saved right after the host edited parameters through the controller holds those edits,
// whether or not a block ran in between: restored, it sounds exactly like the edited instance.
#include "realtime/RealtimeRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace AdapterTest;

namespace {
struct Edit
{
    ParamID id;
    double value;
};
// Gain 0.7, Position, an absorption, a volume, Decay Type exponential (0), Mono, the joystick.
const Edit kEdits[] = {{0, 0.7}, {1, 0.3}, {5, 0.2}, {6, 0.4}, {8, 0.0}, {9, 1.0}, {kParamJoystickX, 0.8}};

std::vector<uint8_t> stateOf(Processor* processor)
{
    Steinberg::MemoryStream stream;
    EXPECT_EQ(processor->getState(&stream), kResultOk);
    const auto* bytes = reinterpret_cast<const uint8_t*>(stream.getData());
    return std::vector<uint8_t>(bytes, bytes + stream.getSize());
}

void editThroughController(RealtimeRig& rig)
{
    for (const Edit& edit : kEdits)
        ASSERT_EQ(rig.processor->setParamNormalized(edit.id, edit.value), kResultOk) << edit.id;
}

// What a host sends to the processing path after its controller edits.
void sendEditsWithNextBlock(RealtimeRig& rig)
{
    rig.changes.clear();
    for (const Edit& edit : kEdits)
        rig.changes.addChange(edit.id, 0, edit.value);
}

// 40 blocks of an impulse and a tone; the first block carries the rig's pending changes.
std::vector<float> render(RealtimeRig& rig)
{
    std::vector<float> out;
    for (int32 block = 0; block < 40; ++block)
    {
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < 256; ++i)
            {
                const int32 n = block * 256 + i;
                rig.buffers.input(c)[i] =
                    (n == 0 ? 1.0f : 0.0f) + 0.25f * static_cast<float>(std::sin(0.01 * n * (c + 1)));
            }
        ProcessData& data = rig.buffers.prepare(256);
        data.inputParameterChanges = block == 0 ? &rig.changes : nullptr;
        EXPECT_EQ(rig.processor->process(data), kResultOk);
        for (int32 c = 0; c < 2; ++c)
            out.insert(out.end(), rig.buffers.output(c), rig.buffers.output(c) + 256);
    }
    rig.changes.clear();
    return out;
}

std::unique_ptr<RealtimeRig> restoredFrom(const std::vector<uint8_t>& state)
{
    auto rig = std::make_unique<RealtimeRig>(256);
    for (int pass = 0; pass < 2; ++pass)
    {
        Steinberg::MemoryStream stream;
        int32 written = 0;
        stream.write(const_cast<uint8_t*>(state.data()), static_cast<int32>(state.size()), &written);
        stream.seek(0, Steinberg::IBStream::kIBSeekSet, nullptr);
        // A host restores both sides with the same stream.
        EXPECT_EQ(pass == 0 ? rig->processor->setState(&stream) : rig->processor->setComponentState(&stream),
                  kResultOk);
    }
    return rig;
}
} // namespace

TEST(EditsInSavedState, SavedAtOnceEqualsSavedAfterABlock)
{
    RealtimeRig atOnce(256);
    editThroughController(atOnce);
    const std::vector<uint8_t> savedAtOnce = stateOf(atOnce.processor);

    RealtimeRig processed(256);
    editThroughController(processed);
    sendEditsWithNextBlock(processed);
    ASSERT_EQ(processed.process(256), kResultOk);
    const std::vector<uint8_t> savedAfterBlock = stateOf(processed.processor);
    EXPECT_EQ(savedAtOnce, savedAfterBlock);

    // Inactive, the edit is the plug-in's value just the same.
    RealtimeRig inactive(256);
    ASSERT_EQ(inactive.processor->setActive(false), kResultOk);
    editThroughController(inactive);
    EXPECT_EQ(stateOf(inactive.processor), savedAfterBlock);

    RealtimeRig untouched(256);
    EXPECT_NE(stateOf(untouched.processor), savedAtOnce);
}

TEST(EditsInSavedState, RestoredItRendersBitIdenticallyToTheEditedInstance)
{
    std::vector<uint8_t> saved;
    {
        RealtimeRig rig(256);
        editThroughController(rig);
        saved = stateOf(rig.processor);
    }
    // The instance the user edited and then played.
    RealtimeRig played(256);
    editThroughController(played);
    sendEditsWithNextBlock(played);
    const std::vector<float> reference = render(played);

    const auto restored = restoredFrom(saved);
    EXPECT_EQ(render(*restored), reference);
    const auto restoredAfterBlock = restoredFrom(stateOf(played.processor));
    EXPECT_EQ(render(*restoredAfterBlock), reference);

    RealtimeRig unedited(256);
    EXPECT_NE(render(unedited), reference);
}
