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
    Vst2::AEffect* e = vst2.effect();
    ASSERT_EQ(e->numParams, controller->getParameterCount());
    for (int32 k = 0; k < e->numParams; ++k)
    {
        ParameterInfo info{};
        ASSERT_EQ(controller->getParameterInfo(k, info), kResultOk);
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
