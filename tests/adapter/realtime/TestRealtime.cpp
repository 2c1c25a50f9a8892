// process allocates nothing and takes no lock: global operator new/delete and the mutex entry
// points of this executable count what happens while a flag is set.
#include "RealtimeRig.h"
#include "room/CTessalineAnyRate.h"
#include "room/ResampledBank.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <pthread.h>

using TestSupport::allocatorCalls;
using TestSupport::lockCalls;
using TestSupport::startCounting;
using TestSupport::stopCounting;

using namespace AdapterTest;

namespace {
// The rooms whose processing is held to the real-time rules: the original, and the rate-true
// room at the bank's rate and at 96 kHz.
struct RoomAtRate
{
    const char* name;
    Processor::PlugInCreator creator;
    double rate;
};
const RoomAtRate kRooms[] = {{"Tessaline 48 kHz", &::createPlugIn, 48000.0},
                             {"Any Rate 44.1 kHz", &::createAnyRatePlugIn, 44100.0},
                             {"Any Rate 96 kHz", &::createAnyRatePlugIn, 96000.0}};
} // namespace

TEST(Realtime, ProcessAllocatesNothingAndTakesNoLock)
{
    for (const RoomAtRate& room : kRooms)
        for (int32 block : {1, 64, 256, 1024})
        {
            SCOPED_TRACE(room.name);
            RealtimeRig rig(1024, room.creator, room.rate);
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
                    ASSERT_EQ(rig.processor->setParamNormalized(kParamFactoryPresets, (n / 40) % 2),
                              kResultOk);
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
    for (const RoomAtRate& room : kRooms)
    {
        SCOPED_TRACE(room.name);
        const int32 block = 512;
        RealtimeRig rig(block, room.creator, room.rate);
        // The timeline in blocks at 48 kHz, stretched for a room whose tail lasts as long in time.
        const auto at = [&room](uint32_t blocks) {
            return static_cast<uint32_t>(blocks * room.rate / 48000.0);
        };
        int64_t flagged = 0;
        for (uint32_t n = 0; n < at(200); ++n)
        {
            ProcessData& data = rig.buffers.prepare(block);
            rig.changes.clear();
            if (n == at(170))
                rig.changes.addChange(5, 0, 0.3); // an absorption, while idle
            data.inputParameterChanges = &rig.changes;
            data.inputEvents = nullptr;
            for (int32 c = 0; c < 2; ++c)
                for (int32 i = 0; i < block; ++i)
                    rig.buffers.input(c)[i] =
                        n < 4 || n > at(190) ? 0.25f * static_cast<float>((i * 37 + c) % 11 - 5) : 0.0f;
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
}

// A running rate-true room moved from 48 to 96 to 44.1 kHz, as a host does (deactivate, set up,
// activate): each rate processes with no allocation or lock, and the banks of the rates it left
// are gone once it left them.
TEST(Realtime, SwitchingTheRateOfARunningRoomAllocatesNothingInProcessAndLeaksNoBank)
{
    const int before = liveResampledBanks();
    {
        RealtimeRig rig(256, &::createAnyRatePlugIn, 48000.0);
        for (const double rate : {48000.0, 96000.0, 44100.0})
        {
            SCOPED_TRACE(rate);
            ASSERT_EQ(rig.processor->setActive(false), kResultOk);
            ProcessSetup setup{kRealtime, kSample32, 256, rate};
            ASSERT_EQ(rig.processor->setupProcessing(setup), kResultOk);
            ASSERT_EQ(rig.processor->setActive(true), kResultOk);
            EXPECT_EQ(liveResampledBanks(), before + (rate == 44100.0 ? 0 : 1));
            for (uint32_t n = 0; n < 60; ++n)
            {
                rig.fillBlock(n, 256);
                startCounting();
                const tresult result = rig.process(256);
                stopCounting();
                ASSERT_EQ(result, kResultOk);
                ASSERT_EQ(allocatorCalls(), 0) << "call " << n;
                ASSERT_EQ(lockCalls(), 0) << "call " << n;
            }
        }
    }
    EXPECT_EQ(liveResampledBanks(), before);
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
