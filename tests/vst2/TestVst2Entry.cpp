// What a VST2 host sees when it loads the module: the entry, the effect record, the identity
// queries, and harmless answers to odd calls.
#include "Vst2Fixture.h"

#include "factory/TessalineIds.h"
#include "vst2abi/Vst2Speakers.h"

#include <cmath>
#include <cstring>

namespace {

using namespace Vst2Test;

TEST_F(Vst2Bundle, HostVersionZeroGetsNoEffect)
{
    Vst2HostEffect host;
    EXPECT_FALSE(host.create(modulePath(), 0));
    EXPECT_EQ(host.effect(), nullptr);
    EXPECT_FALSE(host.create(modulePath(), 0, "main"));
}

TEST_F(Vst2Bundle, EffectRecordDescribesTheRoom)
{
    for (const char* entry : {"VSTPluginMain", "main"})
    {
        Vst2HostEffect host;
        ASSERT_TRUE(host.create(modulePath(), 2400, entry)) << host.error();
        const Vst2::AEffect& e = *host.effect();
        EXPECT_EQ(e.magic, Vst2::kEffectMagic);
        EXPECT_EQ(e.numInputs, 2);
        EXPECT_EQ(e.numOutputs, 2);
        EXPECT_EQ(e.uniqueID, Tessaline::kVst2UniqueId);
        EXPECT_EQ(e.version, 10); // 0.0.1.0
        EXPECT_TRUE(e.flags & Vst2::effFlagsCanReplacing);
        EXPECT_TRUE(e.flags & Vst2::effFlagsProgramChunks);
        EXPECT_FALSE(e.flags & Vst2::effFlagsCanDoubleReplacing); // refused, not faked
        EXPECT_TRUE(e.flags & Vst2::effFlagsHasEditor);           // the room panel
        EXPECT_FALSE(e.flags & Vst2::effFlagsIsSynth);
        EXPECT_EQ(e.numPrograms, 2);
        EXPECT_GE(e.numParams, 11); // the eleven controls come first
        EXPECT_EQ(e.initialDelay, 0);
        ASSERT_NE(e.dispatcher, nullptr);
        ASSERT_NE(e.process, nullptr);
        ASSERT_NE(e.processReplacing, nullptr);
        ASSERT_NE(e.setParameter, nullptr);
        ASSERT_NE(e.getParameter, nullptr);
    }
}

TEST_F(Vst2Bundle, IdentityQueries)
{
    Vst2HostEffect host;
    ASSERT_TRUE(host.create(modulePath())) << host.error();
    // Scanning hosts ask these before effOpen.
    EXPECT_EQ(host.text(Vst2::effGetEffectName), "Tessaline");
    EXPECT_EQ(host.text(Vst2::effGetProductString), "Tessaline");
    EXPECT_EQ(host.text(Vst2::effGetVendorString), "Quorvane");
    EXPECT_EQ(host.dispatch(Vst2::effGetVendorVersion), 10);
    EXPECT_EQ(host.dispatch(Vst2::effGetVstVersion), 2400);
    EXPECT_EQ(host.dispatch(Vst2::effGetPlugCategory), Vst2::kPlugCategRoomFx);
    host.dispatch(Vst2::effOpen);
    const struct
    {
        const char* what;
        intptr_t answer;
    } canDo[] = {
        {"receiveVstEvents", 1},
        {"receiveVstMidiEvent", 1},
        {"receiveVstTimeInfo", 1},
        {"plugAsChannelInsert", 1},
        {"plugAsSend", 1},
        {"2in2out", 1},
        {"bypass", 1},
        {"sendVstEvents", -1},
        {"sendVstMidiEvent", -1},
        {"offline", -1},
        {"somethingNew", 0},
    };
    for (const auto& c : canDo)
        EXPECT_EQ(host.dispatch(Vst2::effCanDo, 0, 0, const_cast<char*>(c.what)), c.answer) << c.what;
    EXPECT_EQ(host.dispatch(Vst2::effCanDo), 0); // null text
    // The tail covers the room's delay and its 69632-sample response.
    EXPECT_GE(host.dispatch(Vst2::effGetTailSize), 255 + 69632);
}

TEST_F(Vst2Bundle, PinsAndSpeakerArrangements)
{
    Vst2HostEffect host;
    ASSERT_TRUE(host.create(modulePath())) << host.error();
    host.dispatch(Vst2::effOpen);
    for (int32_t opcode : {Vst2::effGetInputProperties, Vst2::effGetOutputProperties})
    {
        Vst2::VstPinProperties pin{};
        ASSERT_EQ(host.dispatch(opcode, 0, 0, &pin), 1);
        EXPECT_EQ(pin.flags, Vst2::kVstPinIsActive | Vst2::kVstPinIsStereo | Vst2::kVstPinUseSpeaker);
        EXPECT_EQ(pin.arrangementType, Vst2::kSpeakerArrStereo);
        EXPECT_GT(std::strlen(pin.label), 0u);
        ASSERT_EQ(host.dispatch(opcode, 1, 0, &pin), 1);
        EXPECT_FALSE(pin.flags & Vst2::kVstPinIsStereo); // second of the pair
        EXPECT_EQ(host.dispatch(opcode, 2, 0, &pin), 0);
        EXPECT_EQ(host.dispatch(opcode, -1, 0, &pin), 0);
        EXPECT_EQ(host.dispatch(opcode, 0, 0, nullptr), 0);
    }

    Vst2::VstSpeakerArrangement* in = nullptr;
    Vst2::VstSpeakerArrangement* out = nullptr;
    ASSERT_EQ(host.dispatch(Vst2::effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out), 1);
    ASSERT_TRUE(in && out);
    EXPECT_EQ(out->type, Vst2::kSpeakerArrStereo);
    EXPECT_EQ(out->numChannels, 2);

    Vst2::VstSpeakerArrangement mono{}, stereo{}, three{};
    mono.type = Vst2::kSpeakerArrMono;
    mono.numChannels = 1;
    stereo.type = Vst2::kSpeakerArrStereo;
    stereo.numChannels = 2;
    three.type = Vst2::kSpeakerArrUserDefined;
    three.numChannels = 3;
    auto set = [&](Vst2::VstSpeakerArrangement* a, Vst2::VstSpeakerArrangement* b) {
        return host.dispatch(Vst2::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(a), b);
    };
    EXPECT_EQ(set(&three, &three), 0);
    EXPECT_EQ(set(&mono, &stereo), 0); // different input and output widths
    EXPECT_EQ(set(&mono, nullptr), 0);
    EXPECT_EQ(set(&mono, &mono), 1);
    ASSERT_EQ(host.dispatch(Vst2::effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out), 1);
    EXPECT_EQ(out->type, Vst2::kSpeakerArrMono);
    EXPECT_EQ(set(&stereo, &stereo), 1);
}

TEST_F(Vst2Bundle, EditorRectIsThePanel)
{
    Vst2HostEffect host;
    start(host);
    EXPECT_EQ(host.dispatch(Vst2::effEditGetRect, 0, 0, nullptr), 0);
    Vst2::ERect* rect = reinterpret_cast<Vst2::ERect*>(&host); // garbage a host might leave
    ASSERT_EQ(host.dispatch(Vst2::effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 303);
    EXPECT_EQ(rect->bottom - rect->top, 525);
    host.dispatch(Vst2::effEditClose); // never opened: harmless
}

TEST_F(Vst2Bundle, OddCallsAreHarmless)
{
    Vst2HostEffect host;
    ASSERT_TRUE(host.create(modulePath())) << host.error();
    Vst2::AEffect* e = host.effect();

    // Before effOpen: state changes and processing are ignored.
    EXPECT_EQ(host.dispatch(Vst2::effMainsChanged, 0, 1), 0);
    EXPECT_EQ(host.dispatch(Vst2::effSetProgram, 0, 1), 0);
    const float before = e->getParameter(e, 0);
    e->setParameter(e, 0, 0.123f);
    EXPECT_EQ(e->getParameter(e, 0), before);
    std::vector<float> in(64, 0.5f), outL(64, 7.0f), outR(64, 7.0f);
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {outL.data(), outR.data()};
    e->processReplacing(e, ins, outs, 64);
    EXPECT_EQ(outL, std::vector<float>(64, 0.0f)); // replacing owes defined samples

    host.start(kRate, kBlock);
    char text[256];
    std::memset(text, 'x', sizeof text);
    const int32_t n = e->numParams;
    for (int32_t opcode : {Vst2::effGetParamName, Vst2::effGetParamLabel, Vst2::effGetParamDisplay})
    {
        EXPECT_EQ(host.dispatch(opcode, -1, 0, text), 0);
        EXPECT_EQ(host.dispatch(opcode, n, 0, text), 0);
        EXPECT_EQ(host.dispatch(opcode, 0, 0, nullptr), 0);
    }
    EXPECT_EQ(text[0], 'x'); // refused calls write nothing
    EXPECT_EQ(host.dispatch(Vst2::effCanBeAutomated, n), 0);
    EXPECT_EQ(host.dispatch(Vst2::effString2Parameter, n, 0, const_cast<char*>("1")), 0);
    EXPECT_EQ(host.dispatch(Vst2::effGetProgramNameIndexed, 2, 0, text), 0);
    EXPECT_EQ(host.dispatch(Vst2::effGetProgramNameIndexed, -1, 0, text), 0);
    EXPECT_EQ(host.dispatch(Vst2::effSetProgram, 0, 2), 0);
    EXPECT_EQ(host.dispatch(Vst2::effSetProgram, 0, -1), 0);
    EXPECT_EQ(host.dispatch(Vst2::effGetProgramName, 0, 0, nullptr), 0);
    EXPECT_EQ(host.dispatch(Vst2::effGetChunk, 0, 0, nullptr), 0);
    EXPECT_EQ(host.dispatch(Vst2::effSetChunk, 0, 10, nullptr), 0);
    EXPECT_EQ(host.dispatch(Vst2::effSetChunk, 0, -5, text), 0);
    EXPECT_EQ(host.dispatch(Vst2::effGetSpeakerArrangement, 0, 0, nullptr), 0);
    host.dispatch(Vst2::effProcessEvents, 0, 0, nullptr);
    for (int32_t opcode : {9999, -3, int32_t(Vst2::effGetVu), int32_t(Vst2::effIdentify),
                           int32_t(Vst2::effEditDraw), int32_t(Vst2::effGetCurrentPosition),
                           int32_t(Vst2::effVendorSpecific), int32_t(Vst2::effShellGetNextPlugin)})
        EXPECT_EQ(host.dispatch(opcode, 0, 0, nullptr), 0) << opcode;
    // The rate and block size change only while suspended; nonsense values are refused.
    EXPECT_EQ(host.dispatch(Vst2::effSetSampleRate, 0, 0, nullptr, 96000.0f), 0);
    host.dispatch(Vst2::effMainsChanged, 0, 0);
    EXPECT_EQ(host.dispatch(Vst2::effSetSampleRate, 0, 0, nullptr, -1.0f), 0);
    EXPECT_EQ(host.dispatch(Vst2::effSetSampleRate, 0, 0, nullptr, std::nanf("")), 0);
    EXPECT_EQ(host.dispatch(Vst2::effSetBlockSize, 0, 0), 0);
    host.dispatch(Vst2::effMainsChanged, 0, 1);
    host.dispatch(Vst2::effMainsChanged, 0, 1); // resumed twice
    // Double precision: refused by the precision call, and its entry leaves buffers untouched.
    EXPECT_EQ(host.dispatch(Vst2::effSetProcessPrecision, 0, Vst2::kVstProcessPrecision64), 0);
    EXPECT_EQ(host.dispatch(Vst2::effSetProcessPrecision, 0, Vst2::kVstProcessPrecision32), 1);
    std::vector<double> din(64, 0.5), dout(64, 3.0);
    double* dins[2] = {din.data(), din.data()};
    double* douts[2] = {dout.data(), dout.data()};
    e->processDoubleReplacing(e, dins, douts, 64);
    EXPECT_EQ(dout, std::vector<double>(64, 3.0));
    // Processing with missing buffers or no frames.
    e->processReplacing(e, ins, nullptr, 64);
    e->processReplacing(e, nullptr, outs, 64);
    float* halfOuts[2] = {outL.data(), nullptr};
    e->processReplacing(e, ins, halfOuts, 64);
    e->processReplacing(e, ins, outs, 0);
    e->processReplacing(e, ins, outs, -64);
    // Out-of-range and NaN parameter values.
    e->setParameter(e, n, 0.5f);
    e->setParameter(e, -1, 0.5f);
    EXPECT_EQ(e->getParameter(e, n), 0.0f);
    const float kept = e->getParameter(e, 0);
    e->setParameter(e, 0, std::nanf(""));
    EXPECT_EQ(e->getParameter(e, 0), kept);
    e->setParameter(e, 0, 7.0f);
    EXPECT_EQ(e->getParameter(e, 0), 1.0f);
    e->processReplacing(e, ins, outs, 64);
    for (float s : outL)
        EXPECT_TRUE(std::isfinite(s));
}

} // namespace
