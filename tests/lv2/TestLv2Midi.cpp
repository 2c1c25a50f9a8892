// The LV2 MIDI input against the VST3 path's MIDI mapping: each raw message a host puts on the
// LV2 atom input reaches the DSP object as exactly the call the VST3 Processor makes when a
// VST3 host maps the same controller (IMidiMapping) and passes its value as the parameter.
#include "lv2/Lv2MidiInput.h"
#include "support/PendingProcessor.h"

#include "pluginterfaces/vst/ivstmidicontrollers.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {
using namespace Steinberg;
using namespace Steinberg::Vst;

class RecordingDsp : public CPlugIn
{
public:
    RecordingDsp() { buildControlTables(); }
    std::vector<std::string> calls;

    bool midiNoteOn(uint32_t ch, uint32_t note, uint32_t vel) override { return log("on", ch, note, vel); }
    bool midiNoteOff(uint32_t ch, uint32_t note, uint32_t vel, bool all) override
    {
        return log("off", ch, note, vel, all ? 1 : 0);
    }
    bool midiModWheel(uint32_t ch, uint32_t value) override { return log("wheel", ch, value); }
    bool midiPitchBend(uint32_t ch, int32_t value, float normalized) override
    {
        std::ostringstream s;
        s << "bend " << ch << " " << value << " " << normalized;
        calls.push_back(s.str());
        return true;
    }
    bool midiMessage(uint8_t ch, uint8_t status, uint8_t d1, uint8_t d2) override
    {
        return log("message", ch, status, d1, d2);
    }

private:
    bool log(const char* what, int64_t a, int64_t b, int64_t c = 0, int64_t d = 0)
    {
        std::ostringstream s;
        s << what << " " << a << " " << b << " " << c << " " << d;
        calls.push_back(s.str());
        return true;
    }
};

struct Message
{
    std::vector<uint8_t> bytes;
    CtrlNumber vst3Controller; // what a VST3 host maps
    double vst3Value;          // the value it passes
};

TEST(Lv2Midi, ControllersReachTheDspObjectAsThroughTheVst3Mapping)
{
    const Message messages[] = {
        {{0xB0, 1, 0}, kCtrlModWheel, 0.0},
        {{0xB0, 1, 64}, kCtrlModWheel, 64 / 127.0},
        {{0xB3, 1, 127}, kCtrlModWheel, 1.0},
        {{0xB0, 7, 100}, kCtrlVolume, 100 / 127.0},
        {{0xB0, 10, 5}, kCtrlPan, 5 / 127.0},
        {{0xB0, 11, 90}, kCtrlExpression, 90 / 127.0},
        {{0xB0, 64, 63}, kCtrlSustainOnOff, 63 / 127.0},
        {{0xB0, 64, 64}, kCtrlSustainOnOff, 64 / 127.0},
        {{0xB0, 123, 0}, kCtrlAllNotesOff, 0.0},
        {{0xD0, 33}, kAfterTouch, 33 / 127.0},
        {{0xE0, 0, 0}, kPitchBend, 0.0},
        {{0xE0, 0, 64}, kPitchBend, 8192 / 16383.0},
        {{0xE0, 127, 127}, kPitchBend, 1.0},
        {{0xE0, 5, 20}, kPitchBend, (20 * 128 + 5) / 16383.0},
    };
    auto* vstDsp = new RecordingDsp;
    TessalineTest::PendingProcessor<RecordingDsp> vst3(vstDsp);
    ASSERT_EQ(vst3->initialize(nullptr), kResultOk);
    for (const Message& m : messages)
    {
        RecordingDsp lv2;
        TessalineLv2::deliverMidiMessage(lv2, m.bytes.data(), static_cast<uint32_t>(m.bytes.size()));
        vstDsp->calls.clear();
        ParamID id = 0;
        ASSERT_EQ(vst3->getMidiControllerAssignment(0, 0, m.vst3Controller, id), kResultOk);
        vst3->forwardMidiParameter(static_cast<int32>(id), m.vst3Value);
        ASSERT_EQ(lv2.calls.size(), 1u) << "controller " << m.vst3Controller;
        EXPECT_EQ(lv2.calls, vstDsp->calls) << "controller " << m.vst3Controller;
    }
}

TEST(Lv2Midi, NotesArriveAndBrokenMessagesAreIgnored)
{
    RecordingDsp dsp;
    const std::vector<std::vector<uint8_t>> messages = {
        {0x91, 60, 100}, {0x91, 60, 0}, {0x82, 61, 40}, // on, on with velocity 0 (an off), off
        {0xB0, 1},       {0xE0, 3},     {0x90},         // too short: ignored
        {0x45, 1, 2},    {0xF0, 1, 2},  {},             // data without status, system: ignored
        {0xB0, 20, 5},                                  // a controller no control claims
    };
    for (const auto& m : messages)
        TessalineLv2::deliverMidiMessage(dsp, m.data(), static_cast<uint32_t>(m.size()));
    EXPECT_EQ(dsp.calls, (std::vector<std::string>{"on 1 60 100 0", "off 1 60 0 0", "off 2 61 40 0"}));
}
} // namespace
