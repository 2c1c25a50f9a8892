// Main-thread state loads, preset selections and parameter edits, and the editor's calls into
// the DSP object, against a processing thread. Run under ThreadSanitizer (label "tsan"): any
// overlap of a main-thread change with frame processing shows up as a data race.
#include "RealtimeRig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <cmath>
#include <thread>
#include <vector>

using namespace AdapterTest;

namespace {
std::vector<uint8_t> bytesOf(Steinberg::MemoryStream& stream)
{
    const auto* data = reinterpret_cast<const uint8_t*>(stream.getData());
    return std::vector<uint8_t>(data, data + stream.getSize());
}

// What an open editor does while audio runs: UI messages and dependent-control queries go
// straight to the DSP object, whose contract is to touch no audio-thread state in them.
void editorCalls(CPlugIn& dsp, int round)
{
    for (uint32_t code : {kUiDidOpen, kUiTimerPing, kUiHasOwnEditor, kUiParameterValue, kUiWillClose})
    {
        CUiMessage message;
        message.code = code;
        message.paramIndex = round % 11;
        message.paramValue = (round % 10) / 10.0;
        dsp.uiMessage(&message);
    }
    for (uint32_t i = 0; i < dsp.m_ControlList.controlCount(); ++i)
    {
        CDependentControl* list = nullptr;
        dsp.reportDependentControls(dsp.m_ControlList.controlAt(i)->uId, 0.5f, &list, true);
        dsp.releaseDependentList(&list);
    }
}
} // namespace

TEST(Threads, MainThreadChangesNeverOverlapProcessing)
{
    RealtimeRig rig(256);
    std::atomic<bool> stop{false};
    std::atomic<long> blocks{0};
    std::atomic<bool> finite{true};
    std::thread audio([&] {
        for (uint32_t n = 0; !stop.load(std::memory_order_relaxed); ++n)
        {
            rig.fillBlock(n, 256);
            // A host passing a MIDI program change to the controller from its audio thread.
            if (n % 64 == 32)
                rig.processor->setParamNormalized(kParamFactoryPresets, (n / 64) % 2);
            rig.process(256);
            for (int32 i = 0; i < 256; ++i)
                if (!std::isfinite(rig.buffers.output(0)[i]))
                    finite = false;
            blocks.fetch_add(1, std::memory_order_relaxed);
        }
    });
    Steinberg::MemoryStream saved;
    ASSERT_EQ(rig.processor->getState(&saved), kResultOk);
    const std::vector<uint8_t> original = bytesOf(saved);
    // Changes keep coming until the processing thread has run a few thousand blocks, so that
    // the two threads overlap for long enough (a few seconds under ThreadSanitizer).
    for (int round = 0; round < 1000 || blocks.load(std::memory_order_relaxed) < 3000; ++round)
    {
        saved.seek(0, Steinberg::IBStream::kIBSeekSet, nullptr);
        ASSERT_EQ(rig.processor->setState(&saved), kResultOk);
        Steinberg::MemoryStream again;
        ASSERT_EQ(rig.processor->getState(&again), kResultOk);
        ASSERT_EQ(bytesOf(again).size(), original.size());
        ASSERT_EQ(rig.processor->setParamNormalized(kParamFactoryPresets, round % 2), kResultOk);
        rig.processor->setParamNormalized(0, (round % 10) / 10.0);
        rig.processor->setComponentState(&saved);
        editorCalls(*rig.processor->plugIn(), round);
        std::this_thread::yield();
    }
    // Let the processing thread take the last snapshot before stopping.
    const long seen = blocks.load();
    while (blocks.load() < seen + 2)
        std::this_thread::yield();
    stop = true;
    audio.join();
    EXPECT_TRUE(finite.load());
    // A preset selected now is reported at once and stays once a block has taken it.
    auto positionInState = [&] {
        Steinberg::MemoryStream last;
        EXPECT_EQ(rig.processor->getState(&last), kResultOk);
        uint32_t position = 0;
        std::memcpy(&position, bytesOf(last).data() + 12, sizeof position);
        return position;
    };
    // A program applies only when it changes the one in effect, which the race above left
    // either way: the first program, then the second.
    ASSERT_EQ(rig.processor->setParamNormalized(kParamFactoryPresets, 0.0), kResultOk);
    ASSERT_EQ(rig.processor->setParamNormalized(kParamFactoryPresets, 1.0), kResultOk);
    EXPECT_EQ(positionInState(), 5u);
    rig.process(256, false);
    EXPECT_EQ(positionInState(), 5u);
}
