// The VST2 audio-thread calls (processEvents, processReplacing, process, setParameter) allocate
// nothing and take no lock: the shared counter replaces the global allocation functions and
// pthread_mutex_lock of this executable, which the loaded module binds to as well.
#include "Vst2Fixture.h"

#include "support/AllocationCounter.h"
#include "vst2abi/Vst2Events.h"

namespace {

using namespace Vst2Test;

struct Events
{
    Vst2::VstMidiEvent midi[4] = {};
    struct
    {
        int32_t numEvents;
        intptr_t reserved;
        Vst2::VstEvent* events[4];
    } list{};

    void fill(uint32_t n, int32_t frames)
    {
        const char messages[4][3] = {{char(0xB0), 7, char(n % 128)},
                                     {char(0x90), 60, 100},
                                     {char(0xE0), 0, char(n % 128)},
                                     {char(0x80), 60, 0}};
        for (int k = 0; k < 4; ++k)
        {
            midi[k] = {};
            midi[k].type = Vst2::kVstMidiType;
            midi[k].byteSize = sizeof midi[k];
            midi[k].deltaFrames = static_cast<int32_t>((n * 7 + static_cast<uint32_t>(k) * 13)
                                                       % static_cast<uint32_t>(frames + 5));
            for (int b = 0; b < 3; ++b)
                midi[k].midiData[b] = messages[k][b];
            list.events[k] = reinterpret_cast<Vst2::VstEvent*>(&midi[k]);
        }
        list.numEvents = 4;
    }
};

TEST(Vst2Realtime, AudioThreadCallsAllocateNothingAndTakeNoLock)
{
    for (int32_t frames : {1, 64, 256, 1000}) // 1000: longer than the announced 256
    {
        Vst2HostEffect host;
        ASSERT_TRUE(host.create(modulePath())) << host.error();
        host.start(kRate, kBlock);
        Vst2::AEffect* e = host.effect();
        std::vector<float> in(static_cast<size_t>(frames), 0.25f), outL(in.size()), outR(in.size());
        float* ins[2] = {in.data(), in.data()};
        float* outs[2] = {outL.data(), outR.data()};
        Events events;
        host.timeInfo.flags = Vst2::kVstTransportPlaying | Vst2::kVstTempoValid;
        host.timeInfo.tempo = 100.0;
        for (uint32_t n = 0; n < 100; ++n)
        {
            events.fill(n, frames);
            if (n % 25 == 0) // main-thread changes waiting for the audio thread
                host.dispatch(Vst2::effSetProgram, 0, (n / 25) % 2);
            TestSupport::startCounting();
            e->setParameter(e, static_cast<int32_t>(n % 11), static_cast<float>(n % 10) / 10.0f);
            host.dispatch(Vst2::effProcessEvents, 0, 0, &events.list);
            e->processReplacing(e, ins, outs, frames);
            e->process(e, ins, outs, frames);
            TestSupport::stopCounting();
            ASSERT_EQ(TestSupport::allocatorCalls(), 0) << "frames " << frames << " call " << n;
            ASSERT_EQ(TestSupport::lockCalls(), 0) << "frames " << frames << " call " << n;
        }
    }
}

TEST(Vst2Realtime, CountersSeeTheModulesAllocations)
{
    // The instruments reach into the loaded module: otherwise the test above proves nothing.
    Vst2HostEffect host;
    ASSERT_TRUE(host.create(modulePath())) << host.error();
    host.start(kRate, kBlock);
    TestSupport::startCounting();
    void* data = nullptr;
    host.dispatch(Vst2::effGetChunk, 0, 0, &data); // builds a memory stream inside the module
    TestSupport::stopCounting();
    EXPECT_GT(TestSupport::allocatorCalls(), 0);
}

} // namespace
