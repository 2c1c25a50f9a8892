// Parameters, programs and MIDI as a VST2 host uses them, checked against what the same plug-in
// says through VST3.
#include "Vst2Fixture.h"

#include "HostEffect.h"
#include "HostInstance.h"
#include "HostStrings.h"
#include "vst2abi/Vst2Events.h"

#include <array>
#include <cmath>
#include <cstring>

namespace {

using namespace Vst2Test;
using namespace Steinberg;
using namespace Steinberg::Vst;

// The same plug-in opened through VST3, for comparison.
class Vst2AgainstVst3 : public Vst2Bundle
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(module.load(TESSALINE_BUNDLE_PATH)) << module.error();
        std::string error;
        TUID cid;
        ASSERT_TRUE(TessalineHost::openEffect(module, vst3, cid, error)) << error;
        controller = vst3.getController();
        start(vst2);
    }

    std::string vst3Text(ParamID id, double v)
    {
        String128 text{};
        controller->getParamStringByValue(id, v, text);
        return TessalineHost::toUtf8(text, 128);
    }

    TessalineHost::HostModule module;
    TessalineHost::HostInstance vst3;
    IEditController* controller = nullptr;
    Vst2HostEffect vst2;
};

TEST_F(Vst2AgainstVst3, ParametersMatchTheVst3ParametersInOrder)
{
    // Every VST3 parameter but the program-change one (the last), at the same index: a VST2 host
    // reaches the programs through the program opcodes only.
    Vst2::AEffect* e = vst2.effect();
    ASSERT_EQ(e->numParams, controller->getParameterCount() - 1);
    ParameterInfo last{};
    ASSERT_EQ(controller->getParameterInfo(e->numParams, last), kResultOk);
    EXPECT_TRUE(last.flags & ParameterInfo::kIsProgramChange);
    e->setParameter(e, e->numParams, 1.0f); // as a project of an earlier version holds it: ignored
    EXPECT_EQ(e->getParameter(e, e->numParams), 0.0f);
    EXPECT_EQ(vst2.dispatch(Vst2::effGetProgram), 0);
    for (int32 k = 0; k < e->numParams; ++k)
    {
        ParameterInfo info{};
        ASSERT_EQ(controller->getParameterInfo(k, info), kResultOk);
        EXPECT_FALSE(info.flags & ParameterInfo::kIsProgramChange) << k;
        EXPECT_EQ(vst2.text(Vst2::effGetParamName, k), TessalineHost::toUtf8(info.title, 128)) << k;
        EXPECT_EQ(vst2.text(Vst2::effGetParamLabel, k), TessalineHost::toUtf8(info.units, 8)) << k;
        EXPECT_FLOAT_EQ(e->getParameter(e, k), static_cast<float>(info.defaultNormalizedValue)) << k;
        EXPECT_EQ(vst2.dispatch(Vst2::effCanBeAutomated, k),
                  (info.flags & ParameterInfo::kCanAutomate) ? 1 : 0);
    }
}

TEST_F(Vst2AgainstVst3, SetGetAndDisplayRoundTrip)
{
    Vst2::AEffect* e = vst2.effect();
    for (int32 k = 0; k < 11; ++k)
    {
        ParameterInfo info{};
        ASSERT_EQ(controller->getParameterInfo(k, info), kResultOk);
        // Between two list entries (0.15 of Position, 0.3 of a switch) both interfaces hold the
        // entry the sound takes, and show its text.
        for (float v : {0.0f, 0.15f, 0.3f, 0.55f, 1.0f})
        {
            e->setParameter(e, k, v);
            ASSERT_EQ(controller->setParamNormalized(info.id, v), kResultOk);
            const auto held = static_cast<float>(controller->getParamNormalized(info.id));
            EXPECT_EQ(e->getParameter(e, k), held) << k << " at " << v;
            if (info.stepCount == 0)
            {
                EXPECT_EQ(held, v) << k;
            }
            EXPECT_EQ(vst2.text(Vst2::effGetParamDisplay, k), vst3Text(info.id, held)) << k << " at " << v;
            EXPECT_EQ(vst2.text(Vst2::effGetParamDisplay, k), vst3Text(info.id, v)) << k << " at " << v;
        }
    }
    // Position (eleven entries) at 0.15 is its third entry, 0.2, as the saved chunk holds it.
    e->setParameter(e, 1, 0.15f);
    EXPECT_FLOAT_EQ(e->getParameter(e, 1), 0.2f);
    // Text into value: the plug-in's own parsing, by the displayed entry.
    const int32 stereoMono = vst2.findParameter("Stereo/Mono");
    ASSERT_GE(stereoMono, 0);
    EXPECT_EQ(vst2.dispatch(Vst2::effString2Parameter, stereoMono), 1); // "are texts understood?"
    EXPECT_EQ(vst2.dispatch(Vst2::effString2Parameter, stereoMono, 0, const_cast<char*>("Mono")), 1);
    EXPECT_EQ(vst2.text(Vst2::effGetParamDisplay, stereoMono), "Mono");
    const int32 gain = vst2.findParameter("Gain");
    ASSERT_GE(gain, 0);
    EXPECT_EQ(vst2.dispatch(Vst2::effString2Parameter, gain, 0, const_cast<char*>("not a number")), 0);
}

TEST_F(Vst2AgainstVst3, ProgramsAreThePresetList)
{
    EXPECT_EQ(vst2.text(Vst2::effGetProgramNameIndexed, 0), "Factory Preset");
    EXPECT_EQ(vst2.text(Vst2::effGetProgramNameIndexed, 1), "Studio");
    EXPECT_EQ(vst2.dispatch(Vst2::effGetProgram), 0);

    vst2.calls.clear();
    ASSERT_EQ(vst2.dispatch(Vst2::effSetProgram, 0, 1), 1);
    EXPECT_EQ(vst2.dispatch(Vst2::effGetProgram), 1);
    EXPECT_EQ(vst2.text(Vst2::effGetProgramName), "Studio");
    EXPECT_GE(vst2.callCount(Vst2::audioMasterUpdateDisplay), 1u);

    // The same preset chosen through VST3 gives the same parameter values.
    ParamID presets = 0;
    for (int32 k = 0; k < controller->getParameterCount(); ++k)
    {
        ParameterInfo info{};
        controller->getParameterInfo(k, info);
        if (info.flags & ParameterInfo::kIsProgramChange)
            presets = info.id;
    }
    controller->setParamNormalized(presets, controller->plainParamToNormalized(presets, 1.0));
    Vst2::AEffect* e = vst2.effect();
    int differing = 0;
    for (int32 k = 0; k < 11; ++k)
    {
        ParameterInfo info{};
        controller->getParameterInfo(k, info);
        const auto expected = static_cast<float>(controller->getParamNormalized(info.id));
        EXPECT_FLOAT_EQ(e->getParameter(e, k), expected) << k;
        differing += std::fabs(info.defaultNormalizedValue - expected) > 1e-6 ? 1 : 0;
    }
    EXPECT_GT(differing, 0); // the studio program is not the default sound

    ASSERT_EQ(vst2.dispatch(Vst2::effSetProgram, 0, 0), 1);
    EXPECT_EQ(vst2.text(Vst2::effGetProgramName), "Factory Preset");
}

TEST_F(Vst2AgainstVst3, AnEditAfterAProgramIsKeptByEveryLaterCall)
{
    // A program, then an edit and a block: saving the chunk, choosing nothing else, must not bring
    // the program's value back into the host's view while the chunk and the sound keep the edit.
    Vst2::AEffect* e = vst2.effect();
    const std::vector<float> silence(512, 0.0f);
    ASSERT_EQ(vst2.dispatch(Vst2::effSetProgram, 0, 1), 1);
    e->setParameter(e, 3, 0.9f);
    render(vst2, silence, silence);
    EXPECT_FLOAT_EQ(e->getParameter(e, 3), 0.9f);
    void* chunk = nullptr;
    const intptr_t size = vst2.dispatch(Vst2::effGetChunk, 0, 0, &chunk);
    ASSERT_GT(size, 16);
    EXPECT_FLOAT_EQ(e->getParameter(e, 3), 0.9f);
    float absLR = 0.0f;
    std::memcpy(&absLR, static_cast<const char*>(chunk) + 8 + 4 + 4 + 4, sizeof absLR);
    EXPECT_NEAR(absLR, 12.6f, 1e-4f);
    render(vst2, silence, silence);
    vst2.dispatch(Vst2::effEditIdle);
    EXPECT_FLOAT_EQ(e->getParameter(e, 3), 0.9f);
    std::vector<char> saved(static_cast<const char*>(chunk), static_cast<const char*>(chunk) + size);
    void* again = nullptr;
    ASSERT_EQ(vst2.dispatch(Vst2::effGetChunk, 0, 0, &again), size);
    EXPECT_EQ(std::memcmp(again, saved.data(), saved.size()), 0);
}

// A project saved after a program and an edit, reopened by a host that sets the chunk and then
// every parameter value it stored beside it (Qtractor does so, in index order): the program must
// not come back over the edit, and choosing a program afterwards still applies it.
TEST_F(Vst2Bundle, AReopenedProjectKeepsTheEditsMadeAfterAProgram)
{
    struct Case
    {
        const char* what;
        bool bracketed;    // the program chosen between effBeginSetProgram and effEndSetProgram
        bool earlierSaves; // the values as an earlier version saved them: index 25 the program's, 1.0
        bool reversed;     // the values set again from the last index down
    };
    const Case cases[] = {
        {"effSetProgram", false, false, false},
        {"effSetProgram from a program list", true, false, true},
        {"effSetProgram, the values of an earlier version's project", false, true, false},
        {"effSetProgram from a program list, the values of an earlier version's project", true, true, true},
    };
    const std::vector<float> silence(kBlock, 0.0f);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Vst2HostEffect saved;
        start(saved);
        Vst2::AEffect* e = saved.effect();
        if (c.bracketed)
            saved.dispatch(Vst2::effBeginSetProgram);
        ASSERT_EQ(saved.dispatch(Vst2::effSetProgram, 0, 1), 1);
        if (c.bracketed)
            saved.dispatch(Vst2::effEndSetProgram);
        EXPECT_EQ(saved.text(Vst2::effGetProgramName), "Studio");
        const int32_t volLR = saved.findParameter("Vol L-R");
        ASSERT_GE(volLR, 0);
        e->setParameter(e, volLR, 0.76f);
        render(saved, silence, silence);
        void* data = nullptr;
        const intptr_t size = saved.dispatch(Vst2::effGetChunk, 0, 0, &data);
        ASSERT_EQ(size, 62);
        const std::vector<char> chunk(static_cast<char*>(data), static_cast<char*>(data) + size);
        std::vector<float> values;
        for (int32_t k = 0; k < e->numParams; ++k)
            values.push_back(e->getParameter(e, k));
        if (c.earlierSaves)
        {
            ASSERT_EQ(values.size(), 25u);
            values.push_back(1.0f);
        }
        EXPECT_FLOAT_EQ(values[static_cast<size_t>(volLR)], 0.76f);

        Vst2HostEffect reopened;
        start(reopened);
        Vst2::AEffect* r = reopened.effect();
        ASSERT_EQ(reopened.dispatch(Vst2::effSetChunk, 0, size, const_cast<char*>(chunk.data())), 1);
        const auto n = static_cast<int32_t>(values.size());
        for (int32_t i = 0; i < n; ++i)
        {
            const int32_t k = c.reversed ? n - 1 - i : i;
            r->setParameter(r, k, values[static_cast<size_t>(k)]);
        }
        render(reopened, silence, silence);
        reopened.dispatch(Vst2::effEditIdle);
        for (int32_t k = 0; k < r->numParams; ++k)
            EXPECT_FLOAT_EQ(r->getParameter(r, k), values[static_cast<size_t>(k)]) << k;
        void* again = nullptr;
        ASSERT_EQ(reopened.dispatch(Vst2::effGetChunk, 0, 0, &again), size);
        EXPECT_EQ(std::memcmp(again, chunk.data(), chunk.size()), 0)
            << "the reopened sound is not the saved one";

        // The host's program menu still applies a program, and names it.
        ASSERT_EQ(reopened.dispatch(Vst2::effSetProgram, 0, 0), 1);
        EXPECT_EQ(reopened.text(Vst2::effGetProgramName), "Factory Preset");
        EXPECT_FLOAT_EQ(r->getParameter(r, volLR), 1.0f);
        ASSERT_EQ(reopened.dispatch(Vst2::effSetProgram, 0, 1), 1);
        EXPECT_EQ(reopened.text(Vst2::effGetProgramName), "Studio");
        EXPECT_FLOAT_EQ(r->getParameter(r, saved.findParameter("Abs L-R")), 5.31f / 14.0f);
    }
}

// A host's MIDI event list with room for n events.
struct MidiEvents
{
    explicit MidiEvents(std::initializer_list<std::array<int, 4>> messages)
    {
        for (const auto& m : messages)
        {
            Vst2::VstMidiEvent ev{};
            ev.type = Vst2::kVstMidiType;
            ev.byteSize = sizeof ev;
            ev.deltaFrames = m[3];
            ev.midiData[0] = static_cast<char>(m[0]);
            ev.midiData[1] = static_cast<char>(m[1]);
            ev.midiData[2] = static_cast<char>(m[2]);
            midi.push_back(ev);
        }
        storage.resize(sizeof(Vst2::VstEvents) + midi.size() * sizeof(void*));
        list = reinterpret_cast<Vst2::VstEvents*>(storage.data());
        list->numEvents = static_cast<int32_t>(midi.size());
        for (size_t i = 0; i < midi.size(); ++i)
            list->entries()[i] = reinterpret_cast<Vst2::VstEvent*>(&midi[i]);
    }
    std::vector<Vst2::VstMidiEvent> midi;
    std::vector<char> storage;
    Vst2::VstEvents* list = nullptr;
};

TEST_F(Vst2AgainstVst3, MidiControllersMoveTheirMappedParameters)
{
    Vst2::AEffect* e = vst2.effect();
    const int32 volume = vst2.findParameter("MIDI Vol");
    const int32 bend = vst2.findParameter("PitchBend");
    const int32 modWheel = vst2.findParameter("MIDI Mod Wheel");
    ASSERT_GE(volume, 0);
    ASSERT_GE(bend, 0);
    ASSERT_GE(modWheel, 0);
    MidiEvents events{{0xB3, 7, 64, 10},                     // volume on channel 4
                      {0xE0, 0, 0, 20},                      // pitch bend fully down
                      {0xB0, 1, 127, 300},                   // past the block: played at its end
                      {0x93, 60, 100, 5},                    // a note and its release
                      {0x83, 60, 0, 50},   {0xF8, 0, 0, 0}}; // clock: no VST3 counterpart, ignored
    EXPECT_EQ(vst2.dispatch(Vst2::effProcessEvents, 0, 0, events.list), 1);
    std::vector<float> in(kBlock, 0.0f);
    render(vst2, in, in);
    EXPECT_FLOAT_EQ(e->getParameter(e, volume), 64.0f / 127.0f);
    EXPECT_FLOAT_EQ(e->getParameter(e, bend), 0.0f);
    EXPECT_FLOAT_EQ(e->getParameter(e, modWheel), 1.0f);
}

} // namespace
