// process allocates nothing and takes no lock: global operator new/delete and the mutex entry
// points of this executable count what happens while a flag is set.
#include "RealtimeRig.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <pthread.h>

using TestSupport::allocatorCalls;
using TestSupport::lockCalls;
using TestSupport::startCounting;
using TestSupport::stopCounting;

using namespace AdapterTest;

TEST(Realtime, ProcessAllocatesNothingAndTakesNoLock)
{
    for (int32 block : {1, 64, 256, 1024})
    {
        RealtimeRig rig;
        // A restored state and a preset waiting for the audio thread ride along.
        auto state = Steinberg::owned(new Steinberg::MemoryStream);
        ASSERT_EQ(rig.processor->getState(state), kResultOk);
        state->seek(0, Steinberg::IBStream::kIBSeekSet, nullptr);
        for (uint32_t n = 0; n < 200; ++n)
        {
            rig.fillBlock(n, block);
            if (n % 40 == 0)
            {
                state->seek(0, Steinberg::IBStream::kIBSeekSet, nullptr);
                ASSERT_EQ(rig.processor->setState(state), kResultOk);
                ASSERT_EQ(rig.processor->setParamNormalized(kParamFactoryPresets, (n / 40) % 2), kResultOk);
            }
            startCounting();
            const tresult result = rig.process(block, n % 3 != 2);
            const tresult flush = rig.process(0);
            stopCounting();
            ASSERT_EQ(result, kResultOk);
            ASSERT_EQ(flush, kResultOk);
            ASSERT_EQ(allocatorCalls(), 0) << "block " << block << " call " << n;
            ASSERT_EQ(lockCalls(), 0) << "block " << block << " call " << n;
        }
    }
}

// The idle path: silence past the tail, a change while idle, and the return of sound.
TEST(Realtime, IdleRoomAllocatesNothingAndTakesNoLock)
{
    const int32 block = 512;
    RealtimeRig rig(block);
    int64_t flagged = 0;
    for (uint32_t n = 0; n < 200; ++n)
    {
        ProcessData& data = rig.buffers.prepare(block);
        rig.changes.clear();
        if (n == 170)
            rig.changes.addChange(5, 0, 0.3); // an absorption, while idle
        data.inputParameterChanges = &rig.changes;
        data.inputEvents = nullptr;
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < block; ++i)
                rig.buffers.input(c)[i] =
                    n < 4 || n > 190 ? 0.25f * static_cast<float>((i * 37 + c) % 11 - 5) : 0.0f;
        startCounting();
        const tresult result = rig.processor->process(data);
        stopCounting();
        ASSERT_EQ(result, kResultOk);
        ASSERT_EQ(allocatorCalls(), 0) << "call " << n;
        ASSERT_EQ(lockCalls(), 0) << "call " << n;
        flagged += data.outputs[0].silenceFlags == 3 ? 1 : 0;
    }
    EXPECT_GT(flagged, 0); // the idle path did run
}

// The bypass switch: switches inside blocks, the fades, the room emptied a piece per bypassed
// block, and a bypass ended before the room was empty (the rest emptied at once).
TEST(Realtime, BypassSwitchesAllocateNothingAndTakeNoLock)
{
    const int32 block = 64;
    RealtimeRig rig(block);
    // Bypass on and off at these blocks, at offset 17: a short bypass (emptying not finished), a
    // switch back within a fade, and a long one.
    const std::vector<std::pair<uint32_t, double>> switches = {{40, 1.0}, {44, 0.0},  {80, 1.0},
                                                               {81, 0.0}, {120, 1.0}, {220, 0.0}};
    for (uint32_t n = 0; n < 260; ++n)
    {
        ProcessData& data = rig.buffers.prepare(block);
        rig.changes.clear();
        for (const auto& [at, value] : switches)
            if (at == n)
                rig.changes.addChange(kParamBypass, 17, value);
        data.inputParameterChanges = &rig.changes;
        data.inputEvents = nullptr;
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < block; ++i)
                rig.buffers.input(c)[i] =
                    0.25f * static_cast<float>((i * 37 + c + static_cast<int32>(n)) % 11 - 5);
        startCounting();
        const tresult result = rig.processor->process(data);
        stopCounting();
        ASSERT_EQ(result, kResultOk);
        ASSERT_EQ(allocatorCalls(), 0) << "block " << n;
        ASSERT_EQ(lockCalls(), 0) << "block " << n;
    }
}

TEST(Realtime, CountersSeeAllocationsAndLocks)
{
    // The instruments themselves work: otherwise the test above proves nothing.
    startCounting();
    int* volatile p = new int(3); // volatile: the pair may not be optimised away
    delete p;
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
    pthread_mutex_lock(&mutex);
    pthread_mutex_unlock(&mutex);
    stopCounting();
    EXPECT_EQ(allocatorCalls(), 2);
    EXPECT_EQ(lockCalls(), 1);

    // The aligned forms, which the engine's arrays use, are counted too.
    struct alignas(64) Wide
    {
        double lanes[8];
    };
    startCounting();
    Wide* volatile one = new Wide();
    delete one;
    Wide* volatile three = new Wide[3];
    delete[] three;
    stopCounting();
    EXPECT_EQ(allocatorCalls(), 4);
}
