// A small DSP object for adapter tests: controls are declared per test, and every MIDI and
// editor call the adapter makes is recorded.
#pragma once

#include "adapter/processor/Processor.h"

#include "HostStrings.h"

#include "support/DspWithControls.h"
#include "support/PendingProcessor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace AdapterTest {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Steinberg::Vst::Vava2DUZ3;

struct MidiCall
{
    std::string op;
    int64_t a = 0, b = 0, c = 0, d = 0;
    float f = 0.0f;
    bool operator==(const MidiCall& o) const
    {
        return op == o.op && a == o.a && b == o.b && c == o.c && d == o.d && f == o.f;
    }
};

inline std::ostream& operator<<(std::ostream& os, const MidiCall& m)
{
    return os << m.op << "(" << m.a << "," << m.b << "," << m.c << "," << m.d << "," << m.f << ")";
}

class FixtureDsp : public TessalineTest::DspWithControls
{
public:
    std::vector<MidiCall> midi;
    std::vector<CUiMessage> uiMessages;

    bool midiNoteOff(uint32_t ch, uint32_t note, uint32_t vel, bool all) override
    {
        midi.push_back({"noteOff", ch, note, vel, all ? 1 : 0, 0.0f});
        return true;
    }
    bool midiModWheel(uint32_t ch, uint32_t value) override
    {
        midi.push_back({"modWheel", ch, value, 0, 0, 0.0f});
        return true;
    }
    bool midiPitchBend(uint32_t ch, int32_t value, float normalized) override
    {
        midi.push_back({"pitchBend", ch, value, 0, 0, normalized});
        return true;
    }
    bool midiMessage(uint8_t ch, uint8_t status, uint8_t d1, uint8_t d2) override
    {
        midi.push_back({"message", ch, status, d1, d2, 0.0f});
        return true;
    }
    void* uiMessage(CUiMessage* message) override
    {
        uiMessages.push_back(*message);
        return nullptr;
    }
};

// A Processor around a fixture DSP object, released at the end of the test.
using ProcessorHolder = TessalineTest::PendingProcessor<FixtureDsp>;

// Text conversions of the test host library.
using TessalineHost::toUtf16;
using TessalineHost::toUtf8;

} // namespace AdapterTest
