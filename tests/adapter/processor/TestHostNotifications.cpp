// Notifications to the host's component handler: values changed by a program, a restored state
// or the processing path, and dependent edits, are reported as edits on the user-interface thread
// from the host's run loop, each once, never from inside another host call; a program or state
// the host gives through the controller or the component is reported within that call when the
// host has no run loop. A delivered edit carries the value as it is when it is delivered.
#include "processor/LockingHost.h"
#include "ProcessFixture.h"

#include <thread>

using namespace AdapterTest;

namespace {
// The standard rig's presets as the host sees them: Gain, Choice (0 .. 10), Count (0 .. 4).
struct PresetView
{
    double gain, choice, count;
};
const PresetView kPresetViews[2] = {{0.25, 0.3, 0.5}, {0.75, 0.7, 0.75}};

void expectView(LockingHost& host, const PresetView& expected, const char* what)
{
    EXPECT_NEAR(host.view[0], expected.gain, 1e-6) << what;
    EXPECT_NEAR(host.view[1], expected.choice, 1e-6) << what;
    EXPECT_NEAR(host.view[2], expected.count, 1e-6) << what;
}

enum class Delivery
{
    kWithinCall,     // no run loop: edits within the host's call (a host whose edits take no lock)
    kContextRunLoop, // a run loop offered by the host context given to initialize
    kFrameRunLoop,   // a run loop found through the editor's plug-in frame
};
} // namespace

TEST(HostNotifications, PresetSelectionIsReportedOnceAsEditsOfTheChangedValues)
{
    const Delivery deliveries[] = {Delivery::kWithinCall, Delivery::kContextRunLoop, Delivery::kFrameRunLoop};
    for (Delivery delivery : deliveries)
    {
        for (int position = 0; position < 2; ++position)
        {
            const std::string what = "delivery " + std::to_string(static_cast<int>(delivery)) + ", preset "
                                     + std::to_string(position);
            TestRunLoop loop; // outlives the plug-in, as a host's loop does
            RunLoopSource source(loop);
            ProcessRig rig;
            if (delivery == Delivery::kContextRunLoop)
            {
                ASSERT_EQ(rig->terminate(), kResultOk);
                ASSERT_EQ(rig->initialize(&source), kResultOk);
            }
            else if (delivery == Delivery::kFrameRunLoop)
            {
                ASSERT_TRUE(rig->hostNotifier().attachRunLoop(&source));
            }
            ASSERT_EQ(loop.timers.size(), delivery == Delivery::kWithinCall ? 0u : 1u) << what;
            LockingHost host(rig.holder.processor);
            host.editsTakeLock = delivery != Delivery::kWithinCall;

            ASSERT_EQ(host.setParam(kParamFactoryPresets, position), kResultOk) << what;
            EXPECT_EQ(host.reentered, 0) << what;
            EXPECT_EQ(host.edits, delivery == Delivery::kWithinCall ? 3 : 0) << what;
            // The host's other calls bring nothing; its loop brings the rest.
            EXPECT_EQ(saveState(rig.holder.processor).size(), 30u);
            loop.fire();
            EXPECT_EQ(host.reentered, 0) << what;
            EXPECT_EQ(host.edits, 3) << what;
            EXPECT_EQ(host.restarts, 0) << what;
            expectView(host, kPresetViews[position], what.c_str());
            // Delivered once: later turns and calls bring nothing more.
            loop.fire();
            saveState(rig.holder.processor);
            EXPECT_EQ(host.edits, 3) << what;
            EXPECT_EQ(host.reentered, 0) << what;
            // The sound follows with the next block.
            rig.run(8);
            EXPECT_EQ(rig.dsp->values[0], position == 0 ? 0.25f : 0.75f) << what;
        }
    }
}

TEST(HostNotifications, ADeliveredEditCarriesTheValueOfItsDeliveryNotOfItsPosting)
{
    TestRunLoop loop;
    RunLoopSource source(loop);
    ProcessRig rig;
    ASSERT_TRUE(rig->hostNotifier().attachRunLoop(&source));
    LockingHost host(rig.holder.processor);
    // Two selections and a host edit before the host's loop comes round.
    ASSERT_EQ(host.setParam(kParamFactoryPresets, 0.0), kResultOk);
    ASSERT_EQ(host.setParam(kParamFactoryPresets, 1.0), kResultOk);
    ASSERT_EQ(host.setParam(0, 0.6), kResultOk);
    const auto pending = saveState(rig.holder.processor);
    EXPECT_EQ(host.edits, 0);
    loop.fire();
    EXPECT_EQ(host.restarts, 0);
    EXPECT_EQ(host.reentered, 0);
    EXPECT_EQ(host.edits, 3);              // each parameter once
    EXPECT_NEAR(host.view[0], 0.6, 1e-12); // the later edit, not the preset's 0.75
    EXPECT_NEAR(host.view[2], 0.75, 1e-6);
    float gain = 0.0f;
    uint32_t choice = 0;
    int32_t count = 0;
    std::memcpy(&gain, pending.data() + 8, 4);
    std::memcpy(&choice, pending.data() + 12, 4);
    std::memcpy(&count, pending.data() + 16, 4);
    EXPECT_EQ(gain, 0.6f);
    EXPECT_EQ(choice, 7u);
    EXPECT_EQ(count, 3);
    rig.run(8);
    EXPECT_EQ(rig.dsp->values[0], 0.6f);
    EXPECT_EQ(rig.dsp->choices[1], 7u);
    EXPECT_EQ(saveState(rig.holder.processor), pending);
}

TEST(HostNotifications, ProgramChangesFromTheProcessingPathReachTheParametersOnce)
{
    ProcessRig rig;
    LockingHost host(rig.holder.processor);
    host.editsTakeLock = false;
    // The block's own Gain change lands on top of the preset, whatever the queue order.
    rig.changes.addChange(0, 0, 0.6);
    rig.changes.addChange(kParamFactoryPresets, 0, 1.0);
    rig.run(8);
    EXPECT_EQ(rig.dsp->values[0], 0.6f);
    EXPECT_EQ(rig.dsp->choices[1], 7u);
    EXPECT_EQ(rig.dsp->integers[2], 3);
    EXPECT_EQ(host.edits, 0); // nothing from the audio thread
    rig->hostNotifier().deliverPending();
    const int fromBlock = host.edits;
    EXPECT_GT(fromBlock, 0);
    EXPECT_NEAR(host.view[0], 0.6, 1e-6); // what the block left, not the preset's Gain
    EXPECT_NEAR(host.view[2], 0.75, 1e-6);
    EXPECT_EQ(rig->getParamNormalized(kParamFactoryPresets), 1.0);

    // A host that sends a selection both ways (controller, then the processing path) is told
    // once: by the edits within its call.
    rig.changes.clear();
    ASSERT_EQ(host.setParam(kParamFactoryPresets, 0.0), kResultOk);
    const int edits = host.edits;
    EXPECT_GT(edits, fromBlock);
    rig.changes.addChange(kParamFactoryPresets, 0, 0.0);
    rig.run(8);
    rig->hostNotifier().deliverPending();
    rig->hostNotifier().deliverPending();
    EXPECT_EQ(host.edits, edits);
    EXPECT_EQ(host.restarts, 0);
    EXPECT_EQ(host.reentered, 0);
    EXPECT_EQ(rig.dsp->values[0], 0.25f);

    // A MIDI program change the host passes to the controller from its audio thread.
    rig.changes.clear();
    std::thread audio([&] { EXPECT_EQ(rig->setParamNormalized(kParamFactoryPresets, 1.0), kResultOk); });
    audio.join();
    EXPECT_EQ(rig.dsp->values[0], 0.25f); // nothing touched off the main thread
    rig.run(8);
    EXPECT_EQ(rig.dsp->values[0], 0.75f);
    rig->hostNotifier().deliverPending();
    EXPECT_GT(host.edits, edits);
    EXPECT_NEAR(host.view[0], 0.75, 1e-6);
    EXPECT_EQ(host.reentered, 0);
}

TEST(HostNotifications, AnEditAfterAProgramChangeFromTheProcessingPathIsNeverUndone)
{
    // The program arrives with one block, the host's edit with the controller and the next
    // block; whichever of the host's reads or saves comes next, the edit stays.
    enum class Read
    {
        kSaveState,
        kGetValue,
        kDelivery,
    };
    for (Read read : {Read::kSaveState, Read::kGetValue, Read::kDelivery})
    {
        ProcessRig rig;
        LockingHost host(rig.holder.processor);
        rig.changes.addChange(kParamFactoryPresets, 0, 1.0);
        rig.run(8);
        rig.changes.clear();
        ASSERT_EQ(host.setParam(0, 0.4), kResultOk);
        rig.changes.addChange(0, 0, 0.4);
        rig.run(8);
        rig.changes.clear();
        if (read == Read::kSaveState)
            host.underLock([&] { saveState(rig.holder.processor); });
        else if (read == Read::kGetValue)
            host.underLock([&] { EXPECT_DOUBLE_EQ(rig->getParamNormalized(0), 0.4); });
        EXPECT_EQ(host.restarts, 0);
        EXPECT_EQ(host.reentered, 0);
        rig->hostNotifier().deliverPending();
        EXPECT_DOUBLE_EQ(rig->getParamNormalized(0), 0.4) << static_cast<int>(read);
        EXPECT_NEAR(rig->getParamNormalized(2), 0.75, 1e-6); // the rest of the preset shows
        EXPECT_DOUBLE_EQ(host.view[0], 0.4) << static_cast<int>(read);
        EXPECT_EQ(rig.dsp->values[0], 0.4f);
        const auto bytes = saveState(rig.holder.processor);
        float gain = 0.0f;
        std::memcpy(&gain, bytes.data() + 8, 4);
        EXPECT_EQ(gain, 0.4f);
    }
}

TEST(HostNotifications, TheHostsOwnCallsDeliverNothing)
{
    // Edits posted by a restored state wait for the host's loop; none of the host's calls
    // delivers them.
    TestRunLoop loop;
    RunLoopSource source(loop);
    ProcessRig rig(nullptr, false);
    ASSERT_TRUE(rig->hostNotifier().attachRunLoop(&source));
    LockingHost host(rig.holder.processor);
    auto bytes = saveState(rig.holder.processor);
    const float gain = 0.125f;
    std::memcpy(bytes.data() + 8, &gain, sizeof gain);
    host.underLock([&] { EXPECT_EQ(rig->setState(streamOf(bytes)), kResultOk); });
    host.underLock([&] {
        saveState(rig.holder.processor);
        ParameterInfo info{};
        rig->getParameterInfo(0, info);
        String128 text{};
        rig->getParamStringByValue(0, 0.5, text);
        rig->getParamNormalized(0);
        EXPECT_EQ(rig->setActive(true), kResultOk);
        EXPECT_EQ(rig->setActive(false), kResultOk);
    });
    EXPECT_EQ(host.reentered, 0);
    EXPECT_EQ(host.edits, 0);
    loop.fire();
    EXPECT_EQ(host.edits, 1);
    EXPECT_DOUBLE_EQ(host.view[0], 0.125);
    rig->hostNotifier().detachRunLoop(&source);
}

TEST(HostNotifications, RestoredStatesShowInTheParametersAndDependentEditsWait)
{
    // Gain drives Count: the DSP object reports Count = 4 * Gain as a dependent control.
    struct DependentDsp : RecordingDsp
    {
        bool reportDependentControls(uint32_t uId, float plain, CDependentControl** list, bool) override
        {
            if (uId != 100)
                return false;
            *list = new CDependentControl{102, std::floor(plain * 4.0f), nullptr};
            return true;
        }
    };
    auto* dsp = new DependentDsp;
    auto* standard = ProcessRig::standardDsp();
    for (uint32_t k = 0; k < 3; ++k)
    {
        const CControlEntry* c = standard->m_ControlList.controlAt(k);
        dsp->addControl(c->szName, c->nKind, c->nDataType, c->fMin, c->fMax, standard->values[k]);
    }
    delete standard;
    ProcessRig rig(dsp, false);
    LockingHost host(rig.holder.processor);
    std::vector<uint8_t> bytes;
    putLE<uint64_t>(bytes, 1);
    putLE(bytes, 0.5f);
    putLE<uint32_t>(bytes, 2);
    putLE<int32_t>(bytes, 0);
    putLE<int16_t>(bytes, 0);
    putLE(bytes, 0.0f);
    putLE(bytes, 0.0f);

    host.underLock([&] { EXPECT_EQ(rig->setComponentState(streamOf(bytes)), kResultOk); });
    EXPECT_EQ(host.edits, 0);
    EXPECT_EQ(host.reentered, 0);
    EXPECT_DOUBLE_EQ(rig->getParamNormalized(2), 0.5); // Count = 2 of 0 .. 4
    rig->hostNotifier().deliverPending();
    EXPECT_EQ(host.edits, 1);
    EXPECT_DOUBLE_EQ(host.view[2], 0.5);
    EXPECT_EQ(host.restarts, 0); // the host handed the values over itself

    // The component's setState alone: the parameters follow and the host learns each value the
    // state changed as an edit, from its loop when it has one (Gain, and Count back to 0)...
    TestRunLoop loop;
    RunLoopSource source(loop);
    ASSERT_TRUE(rig->hostNotifier().attachRunLoop(&source));
    float gain = 0.25f;
    std::memcpy(bytes.data() + 8, &gain, sizeof gain);
    host.underLock([&] { EXPECT_EQ(rig->setState(streamOf(bytes)), kResultOk); });
    EXPECT_EQ(host.edits, 1);
    loop.fire();
    loop.fire();
    EXPECT_EQ(host.edits, 3);
    EXPECT_EQ(host.restarts, 0);
    EXPECT_EQ(host.reentered, 0);
    EXPECT_DOUBLE_EQ(host.view[0], 0.25);
    EXPECT_DOUBLE_EQ(host.view[2], 0.0);
    EXPECT_EQ(rig.dsp->values[0], 0.25f);
    rig->hostNotifier().detachRunLoop(&source);

    // ... and within the call when it has none (a host whose edit handlers take no lock), so that
    // a host restoring its own controls after the state restores these values.
    host.editsTakeLock = false;
    gain = 0.75f;
    std::memcpy(bytes.data() + 8, &gain, sizeof gain);
    host.underLock([&] {
        EXPECT_EQ(rig->setState(streamOf(bytes)), kResultOk);
        EXPECT_EQ(host.edits, 4);
        EXPECT_DOUBLE_EQ(host.view[0], 0.75);
    });
    rig->hostNotifier().deliverPending();
    EXPECT_EQ(host.edits, 4);
    EXPECT_EQ(host.restarts, 0);
}

TEST(HostNotifications, TheRunLoopTimerEndsWithTerminate)
{
    TestRunLoop loop;
    RunLoopSource source(loop);
    TestRunLoop frameLoop;
    RunLoopSource frame(frameLoop);
    ProcessRig rig;
    ASSERT_EQ(rig->terminate(), kResultOk);
    ASSERT_EQ(rig->initialize(&source), kResultOk);
    EXPECT_EQ(loop.timers.size(), 1u);
    EXPECT_TRUE(rig->hostNotifier().attachRunLoop(&source)); // the frame's loop: kept once
    EXPECT_EQ(loop.timers.size(), 1u);
    ASSERT_EQ(rig->terminate(), kResultOk);
    EXPECT_TRUE(loop.timers.empty());
    EXPECT_FALSE(rig->hostNotifier().attachRunLoop(nullptr));
    // An editor's frame that goes away takes its own loop's timer along, and only that one.
    ASSERT_TRUE(rig->hostNotifier().attachRunLoop(&frame));
    rig->hostNotifier().detachRunLoop(&source);
    EXPECT_EQ(frameLoop.timers.size(), 1u);
    rig->hostNotifier().detachRunLoop(&frame);
    EXPECT_TRUE(frameLoop.timers.empty());
}
