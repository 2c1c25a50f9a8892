// MIDI controller assignment and the pseudo-parameters turned back into MIDI calls.
#include "AdapterFixture.h"

#include <cmath>

using namespace AdapterTest;

namespace {
// Controls claiming controller 20 at positions 3 and 5 and controller 7 at position 1.
FixtureDsp* claimingFixture()
{
    auto* dsp = new FixtureDsp;
    for (int i = 0; i < 6; ++i)
        dsp->addControl("C", 100, kDataFloat, 0.0f, 1.0f, 0.0f);
    auto claim = [dsp](uint32_t position, int32_t controller) {
        CControlEntry* entry = dsp->m_ControlList.controlAt(position);
        entry->bMidiControl = true;
        entry->nMidiController = controller;
    };
    claim(3, 20);
    claim(5, 20);
    claim(1, 7);
    dsp->m_ControlList.controlAt(2)->nMidiController = 30; // not claimed: bMidiControl off
    return dsp;
}
} // namespace

TEST(MidiMapping, ControllersMapToPseudoParametersOrClaimingControls)
{
    ProcessorHolder p(claimingFixture());
    const struct
    {
        int32 bus;
        int16 channel;
        CtrlNumber controller;
        tresult result;
        ParamID id;
    } cases[] = {
        {0, 0, 7, kResultOk, 2050}, // a claiming control never takes a common controller
        {0, 9, 7, kResultOk, 2050}, // the channel is not used
        {0, 0, 1, kResultOk, 2049},   {0, 0, 10, kResultOk, 2051},
        {0, 0, 11, kResultOk, 2052},  {0, 0, 64, kResultOk, 2053},
        {0, 0, 123, kResultOk, 2055}, {0, 0, 128, kResultOk, 2054},
        {0, 0, 129, kResultOk, 2048}, {0, 0, 20, kResultOk, 5}, // the last claiming control wins
        {0, 0, 74, kResultFalse, 0},  {0, 0, 30, kResultFalse, 0},
        {0, 0, 3, kResultFalse, 0}, // the record default controller, unclaimed
        {0, 0, 200, kResultFalse, 0}, {1, 0, 7, kResultFalse, 12345}, // only bus 0; id untouched
    };
    for (const auto& c : cases)
    {
        ParamID id = 12345;
        EXPECT_EQ(p->getMidiControllerAssignment(c.bus, c.channel, c.controller, id), c.result)
            << "controller " << c.controller << " bus " << c.bus;
        EXPECT_EQ(id, c.id) << "controller " << c.controller << " bus " << c.bus;
    }
}

TEST(MidiMapping, QueryInterfaceAnswersMidiMappingAndUnitInfo)
{
    ProcessorHolder p(claimingFixture());
    IMidiMapping* mapping = nullptr;
    ASSERT_EQ(p->queryInterface(IMidiMapping::iid, reinterpret_cast<void**>(&mapping)), kResultOk);
    ParamID id = 0;
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, 0, 64, id), kResultOk);
    EXPECT_EQ(id, 2053u);
    mapping->release();
    IUnitInfo* units = nullptr;
    ASSERT_EQ(p->queryInterface(IUnitInfo::iid, reinterpret_cast<void**>(&units)), kResultOk);
    units->release();
    IAudioProcessor* audio = nullptr;
    ASSERT_EQ(p->queryInterface(IAudioProcessor::iid, reinterpret_cast<void**>(&audio)), kResultOk);
    audio->release();
}

TEST(MidiMapping, PseudoParametersBecomeMidiCalls)
{
    const struct
    {
        int32 id;
        double v;
        MidiCall call; // op empty: no call expected
    } cases[] = {
        {2048, 0.0, {"pitchBend", 0, -8192, 0, 0, -1.0f}},
        {2048, 0.25, {"pitchBend", 0, -4095, 0, 0, -0.5f}},
        {2048, 0.5, {"pitchBend", 0, 0, 0, 0, 0.0f}},
        {2048, 1.0, {"pitchBend", 0, 8191, 0, 0, 1.0f}},
        {2049, 0.5, {"modWheel", 0, 63, 0, 0, 0.0f}},
        {2049, 1.0, {"modWheel", 0, 127, 0, 0, 0.0f}},
        {2050, 1.0, {"message", 0, 7, 127, 0, 0.0f}},
        {2050, 1.5, {"message", 0, 7, 127, 0, 0.0f}}, // out-of-range host values are limited
        {2051, 0.5, {"message", 0, 10, 63, 0, 0.0f}},
        {2052, 0.0, {"message", 0, 11, 0, 0, 0.0f}},
        {2053, 0.5, {"message", 0, 64, 0, 0, 0.0f}},
        {2053, 0.5000001, {"message", 0, 64, 127, 0, 0.0f}},
        {2054, 0.5, {"message", 0, 208, 63, 0, 0.0f}},
        {2055, 0.0, {"noteOff", 0, 0, 0, 1, 0.0f}},
        {2055, 1.0, {"noteOff", 0, 0, 0, 1, 0.0f}},
        {2056, 0.5, {}},
        {0, 0.5, {}},
    };
    for (const auto& c : cases)
    {
        auto* dsp = new FixtureDsp;
        ProcessorHolder p(dsp);
        p->forwardMidiParameter(c.id, c.v);
        if (c.call.op.empty())
            EXPECT_TRUE(dsp->midi.empty()) << "id " << c.id;
        else
        {
            ASSERT_EQ(dsp->midi.size(), 1u) << "id " << c.id << " v " << c.v;
            EXPECT_EQ(dsp->midi[0], c.call) << "id " << c.id << " v " << c.v;
        }
    }
}

TEST(MidiMapping, NanHostValueGivesADefinedCall)
{
    auto* dsp = new FixtureDsp;
    ProcessorHolder p(dsp);
    p->forwardMidiParameter(2048, std::nan(""));
    ASSERT_EQ(dsp->midi.size(), 1u);
    EXPECT_EQ(dsp->midi[0], (MidiCall{"pitchBend", 0, -8192, 0, 0, -1.0f}));
}
