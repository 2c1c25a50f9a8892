// A VST2 host's threads meeting in the wrapper: the audio thread processes with MIDI, another
// thread automates through setParameter/getParameter, the main thread reads texts, switches the
// bypass and idles. Run under ThreadSanitizer (CTest label "tsan"); here it checks that the
// sound stays finite and the last values win.
#include "Vst2Fixture.h"

#include "vst2abi/Vst2Events.h"

#include <atomic>
#include <cmath>
#include <thread>

namespace {

using namespace Vst2Test;

TEST_F(Vst2Bundle, AudioAutomationAndMainThreadsMeetSafely)
{
    Vst2HostEffect host;
    start(host);
    Vst2::AEffect* e = host.effect();
    const int32_t gain = host.findParameter("Gain");
    ASSERT_GE(gain, 0);
    std::atomic<bool> running{true};
    std::atomic<bool> finite{true};

    std::thread audio([&] {
        std::vector<float> in(kBlock, 0.25f), outL(kBlock), outR(kBlock);
        float* ins[2] = {in.data(), in.data()};
        float* outs[2] = {outL.data(), outR.data()};
        Vst2::VstMidiEvent cc{};
        cc.type = Vst2::kVstMidiType;
        cc.byteSize = sizeof cc;
        cc.midiData[0] = char(0xB0);
        cc.midiData[1] = 7;
        struct
        {
            int32_t numEvents;
            intptr_t reserved;
            Vst2::VstEvent* events[2];
        } list{1, 0, {reinterpret_cast<Vst2::VstEvent*>(&cc), nullptr}};
        for (int n = 0; n < 300; ++n)
        {
            cc.midiData[2] = char(n % 128);
            e->dispatcher(e, Vst2::effProcessEvents, 0, 0, &list, 0.0f);
            e->processReplacing(e, ins, outs, kBlock);
            for (float s : outL)
                if (!std::isfinite(s))
                    finite = false;
        }
        running = false;
    });
    std::thread automation([&] {
        for (int n = 0; running; ++n)
        {
            e->setParameter(e, n % 11, static_cast<float>(n % 100) / 100.0f);
            (void)e->getParameter(e, (n + 5) % e->numParams);
        }
    });
    for (int n = 0; running; ++n)
    {
        host.text(Vst2::effGetParamDisplay, n % e->numParams);
        host.dispatch(Vst2::effSetBypass, 0, n % 20 == 19 ? 1 : 0);
        host.dispatch(Vst2::effEditIdle);
    }
    audio.join();
    automation.join();
    EXPECT_TRUE(finite);
    e->setParameter(e, gain, 0.5f);
    EXPECT_EQ(e->getParameter(e, gain), 0.5f);
}

} // namespace
