// Tessaline.lv2 as an LV2 host runs it (through lilv, from the bundle laid out as installed),
// against the VST3 bundle as a VST3 host runs it: the same output sample for sample at several
// block sizes and rates with every control automated, the same state, the same presets.
#include "Lv2TestHost.h"

#include "support/AllocationCounter.h"
#include "HostAudioBuffers.h"
#include "HostInstance.h"
#include "HostModule.h"
#include "HostParameterChanges.h"
#include "HostState.h"
#include "factory/TessalineIds.h"
#include "support/Noise.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <lv2/atom/atom.h>
#include <lv2/midi/midi.h>

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using Lv2Test::Lv2Instance;
using Lv2Test::Lv2World;
using TessalineHost::HostAudioBuffers;
using TessalineHost::HostInstance;
using TessalineHost::HostModule;
using TessalineHost::HostParameterChanges;

namespace {
constexpr ParamID kBypassId = 0x808;
constexpr ParamID kJoystickXId = 0x8005;
constexpr ParamID kJoystickYId = 0x8006;
constexpr ParamID kPresetsId = 0x70727374;
constexpr uint32_t kControls = 11;
constexpr uint32_t kEnabledPort = 11;
constexpr uint32_t kLatencyPort = 12;

// A change at a frame: a room control (port = parameter id) to a plain value, or the bypass.
struct Change
{
    uint32_t frame;
    uint32_t control; // kControls means the bypass
    float plain;
};

// Every control moved away from its default, then the bypass on and off again.
std::vector<Change> automation(uint32_t frames)
{
    const float values[kControls] = {0.8f, 7.0f, 0.4f, 3.3f, 0.6f, 11.0f, 0.2f, 12.5f, 0.0f, 1.0f, 1.0f};
    std::vector<Change> changes;
    const uint32_t step = frames / (kControls + 3);
    for (uint32_t k = 0; k < kControls; ++k)
        changes.push_back({step * (k + 1), k, values[k]});
    changes.push_back({step * (kControls + 1), kControls, 1.0f});
    changes.push_back({step * (kControls + 2), kControls, 0.0f});
    return changes;
}

std::vector<float> noise(uint32_t frames, uint32_t seed)
{
    std::vector<float> x(frames);
    for (float& s : x)
        s = 0.5f * TestSupport::lcgNoise(seed);
    return x;
}

struct Rendered
{
    std::vector<float> left, right;
};

class Lv2Plugin : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(module.load(TESSALINE_BUNDLE_PATH)) << module.error();
        ASSERT_NE(world.plugin(), nullptr) << "the plug-in is not in " << TESSALINE_LV2_BUNDLE_PATH;
    }

    void startVst3(HostInstance& instance, double rate, int32 block,
                   const uint8_t* classId = Tessaline::kProcessorCid)
    {
        TUID cid;
        std::memcpy(cid, classId, sizeof cid);
        ASSERT_TRUE(instance.create(module.factory(), cid));
        ASSERT_EQ(instance.initialize(), kResultOk);
        ASSERT_EQ(instance.setBusArrangement(SpeakerArr::kStereo), kResultTrue);
        ASSERT_EQ(instance.setupProcessing(rate, block), kResultOk);
        ASSERT_EQ(instance.setActive(true), kResultOk);
    }

    // Both formats render the same input in blocks of `block` frames; a change applies at the
    // first block that starts at or after its frame, in both. `rightSilent` leaves the LV2
    // right input unconnected and gives the VST3 path a silent right channel.
    void renderBoth(double rate, uint32_t block, uint32_t frames, const std::vector<Change>& changes,
                    Rendered& lv2, Rendered& vst3, bool rightSilent = false, ParamValue vst3Preset = -1.0)
    {
        HostInstance vst;
        startVst3(vst, rate, static_cast<int32>(block));
        Lv2Instance plug(world, rate, block);
        ASSERT_TRUE(plug.valid());
        if (rightSilent)
            plug.disconnectRightInput();
        if (vst3Preset >= 0.0)
            applyLv2Preset(plug, "Studio");
        renderWith(plug, vst, block, frames, changes, lv2, vst3, rightSilent, vst3Preset);
    }

    void renderWith(Lv2Instance& plug, HostInstance& vst, uint32_t block, uint32_t frames,
                    const std::vector<Change>& changes, Rendered& lv2, Rendered& vst3,
                    bool rightSilent = false, ParamValue vst3Preset = -1.0)
    {
        const std::vector<float> left = noise(frames, 7), right = noise(frames, 11);
        HostAudioBuffers buffers(2, 2, static_cast<int32>(block));
        HostParameterChanges vstChanges;
        lv2 = {std::vector<float>(frames), std::vector<float>(frames)};
        vst3 = lv2;
        size_t next = 0;
        for (uint32_t start = 0; start < frames; start += block)
        {
            const uint32_t n = std::min(block, frames - start);
            vstChanges.clear();
            if (start == 0 && vst3Preset >= 0.0)
                vstChanges.addChange(kPresetsId, 0, vst3Preset);
            for (; next < changes.size() && changes[next].frame <= start; ++next)
            {
                const Change& c = changes[next];
                if (c.control == kControls)
                {
                    plug.control(kEnabledPort) = c.plain != 0.0f ? 0.0f : 1.0f;
                    vstChanges.addChange(kBypassId, 0, c.plain);
                    continue;
                }
                plug.control(c.control) = c.plain;
                vstChanges.addChange(c.control, 0,
                                     vst.getController()->plainParamToNormalized(c.control, c.plain));
            }
            for (uint32_t i = 0; i < n; ++i)
            {
                plug.input(0)[i] = buffers.input(0)[i] = left[start + i];
                plug.input(1)[i] = right[start + i];
                buffers.input(1)[i] = rightSilent ? 0.0f : right[start + i];
            }
            plug.run(n);
            ASSERT_EQ(vst.process(buffers, static_cast<int32>(n), &vstChanges), kResultOk);
            std::memcpy(lv2.left.data() + start, plug.output(0), n * sizeof(float));
            std::memcpy(lv2.right.data() + start, plug.output(1), n * sizeof(float));
            std::memcpy(vst3.left.data() + start, buffers.output(0), n * sizeof(float));
            std::memcpy(vst3.right.data() + start, buffers.output(1), n * sizeof(float));
        }
    }

    void applyLv2Preset(Lv2Instance& plug, const std::string& label)
    {
        for (const auto& [name, uri] : world.presets())
        {
            if (name != label)
                continue;
            LilvNode* node = lilv_new_uri(world.world(), uri.c_str());
            LilvState* state = lilv_state_new_from_world(world.world(), world.map(), node);
            lilv_node_free(node);
            ASSERT_NE(state, nullptr);
            plug.applyState(state);
            lilv_state_free(state);
            return;
        }
        FAIL() << "no preset " << label;
    }

    static void expectSame(const Rendered& a, const Rendered& b)
    {
        ASSERT_EQ(a.left.size(), b.left.size());
        for (size_t i = 0; i < a.left.size(); ++i)
        {
            ASSERT_EQ(a.left[i], b.left[i]) << "left, frame " << i;
            ASSERT_EQ(a.right[i], b.right[i]) << "right, frame " << i;
        }
    }

    static float peak(const std::vector<float>& x)
    {
        float p = 0.0f;
        for (float s : x)
            p = std::max(p, std::fabs(s));
        return p;
    }

    HostModule module;
    Lv2World world{TESSALINE_LV2_BUNDLE_PATH};
};

struct RunCase
{
    double rate;
    uint32_t block;
    uint32_t frames;
};
inline void PrintTo(const RunCase& c, std::ostream* os)
{
    *os << c.rate << " Hz, blocks of " << c.block << ", " << c.frames << " frames";
}

class Lv2MatchesVst3 : public Lv2Plugin, public ::testing::WithParamInterface<RunCase>
{};

TEST_P(Lv2MatchesVst3, SampleForSampleWithEveryControlAutomated)
{
    const RunCase run = GetParam();
    Rendered lv2, vst3;
    renderBoth(run.rate, run.block, run.frames, automation(run.frames), lv2, vst3);
    expectSame(lv2, vst3);
    EXPECT_GT(peak(lv2.left), 1e-3f);
}

INSTANTIATE_TEST_SUITE_P(BlocksAndRates, Lv2MatchesVst3,
                         ::testing::Values(RunCase{48000.0, 1, 6000}, RunCase{48000.0, 64, 20000},
                                           RunCase{44100.0, 1000, 20000}, RunCase{96000.0, 4096, 40000},
                                           RunCase{22050.0, 64, 10000}),
                         [](const ::testing::TestParamInfo<RunCase>& param) {
                             return "Rate" + std::to_string(static_cast<int>(param.param.rate)) + "Block"
                                    + std::to_string(param.param.block);
                         });

// The rate-true room's URI in the same bundle: the same ports as the original, the same presets,
// sample for sample the VST3 class "Tessaline Any Rate" at the bank's rate and at 96 kHz with every
// control automated, and a state the original's instance takes as its own.
TEST_F(Lv2Plugin, AnyRateRoomBesideTheOriginalMatchesItsVst3Class)
{
    Lv2World anyRate(TESSALINE_LV2_BUNDLE_PATH,
                     "https://tessaline.quorvane.example/plugins/tessaline-any-rate");
    ASSERT_NE(anyRate.plugin(), nullptr);
    LilvNode* name = lilv_plugin_get_name(anyRate.plugin());
    EXPECT_STREQ(lilv_node_as_string(name), "Tessaline Any Rate");
    lilv_node_free(name);
    ASSERT_EQ(lilv_plugin_get_num_ports(anyRate.plugin()), lilv_plugin_get_num_ports(world.plugin()));
    for (const char* symbol :
         {"gain", "position", "enabled", "latency", "in_l", "in_r", "out_l", "out_r", "midi_in"})
        EXPECT_EQ(anyRate.portIndex(symbol), world.portIndex(symbol)) << symbol;
    EXPECT_EQ(anyRate.presets().size(), world.presets().size());

    for (const double rate : {44100.0, 96000.0})
    {
        SCOPED_TRACE(rate);
        HostInstance vst;
        startVst3(vst, rate, 256, Tessaline::kAnyRateCid);
        Lv2Instance plug(anyRate, rate, 256);
        ASSERT_TRUE(plug.valid());
        Rendered lv2, vst3;
        renderWith(plug, vst, 256, 30000, automation(30000), lv2, vst3);
        expectSame(lv2, vst3);
        EXPECT_GT(peak(lv2.left), 1e-3f);

        // The whole state as lilv writes it (ports and component state), read into the original.
        LilvState* state = plug.captureState();
        ASSERT_NE(state, nullptr);
        char* text = lilv_state_to_string(anyRate.world(), anyRate.map(), anyRate.unmap(), state,
                                          "urn:tessaline:test", nullptr);
        lilv_state_free(state);
        ASSERT_NE(text, nullptr);
        LilvState* reread = lilv_state_new_from_string(world.world(), world.map(), text);
        lilv_free(text);
        ASSERT_NE(reread, nullptr);
        Lv2Instance original(world, rate, 256);
        original.applyState(reread);
        lilv_state_free(reread);
        original.run(0);
        std::vector<uint8_t> saved, again;
        uint32_t type = 0;
        ASSERT_EQ(plug.save(saved, type), LV2_STATE_SUCCESS);
        ASSERT_EQ(original.save(again, type), LV2_STATE_SUCCESS);
        EXPECT_EQ(again, saved);
    }
}

TEST_F(Lv2Plugin, MonoHostAndLatencyAsTheVst3Path)
{
    Rendered lv2, vst3;
    renderBoth(48000.0, 256, 8192, {}, lv2, vst3, true);
    expectSame(lv2, vst3);
    HostInstance vst;
    startVst3(vst, 48000.0, 64);
    Lv2Instance plug(world, 48000.0, 64);
    plug.control(kLatencyPort) = -1.0f;
    plug.run(64);
    EXPECT_EQ(plug.control(kLatencyPort), static_cast<float>(vst.getProcessor()->getLatencySamples()));
}

TEST_F(Lv2Plugin, BypassCopiesTheInputAndDropsNonFiniteSamples)
{
    Lv2Instance plug(world, 48000.0, 64);
    plug.control(kEnabledPort) = 0.0f;
    for (int block = 0; block < 4; ++block)
        plug.run(64); // the switch's crossfade: 5 ms, 240 frames
    for (uint32_t i = 0; i < 64; ++i)
    {
        plug.input(0)[i] = 0.01f * static_cast<float>(i);
        plug.input(1)[i] = -0.02f * static_cast<float>(i);
    }
    plug.input(0)[5] = std::nanf("");
    plug.run(64);
    for (uint32_t i = 0; i < 64; ++i)
    {
        EXPECT_EQ(plug.output(0)[i], i == 5 ? 0.0f : plug.input(0)[i]);
        EXPECT_EQ(plug.output(1)[i], plug.input(1)[i]);
    }
}

TEST_F(Lv2Plugin, FactoryPresetsAreListedByNameAndSoundAsInTheVst3Path)
{
    std::vector<std::string> names;
    for (const auto& preset : world.presets())
        names.push_back(preset.first);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Factory Preset", "Studio"}));
    Rendered lv2, vst3;
    renderBoth(48000.0, 512, 16384, {}, lv2, vst3, false, 1.0); // "Studio", second in the list
    expectSame(lv2, vst3);
    Rendered plain, plainVst;
    renderBoth(48000.0, 512, 16384, {}, plain, plainVst);
    EXPECT_NE(plain.left, lv2.left); // the preset did change the room
    // A preset leaves the bypass as it is, as in the VST3 path.
    Lv2Instance bypassed(world, 48000.0, 64);
    bypassed.control(kEnabledPort) = 0.0f;
    applyLv2Preset(bypassed, "Studio");
    EXPECT_EQ(bypassed.control(kEnabledPort), 0.0f);
    EXPECT_EQ(bypassed.control(1), 5.0f); // Studio's Position: L90
}

// The component state from a VST3 instance with the joystick moved, restored into an LV2
// instance whose ports the host set: the same bytes saved back, the same sound.
TEST_F(Lv2Plugin, StateCarriesTheJoystickAcrossFormats)
{
    HostInstance source;
    startVst3(source, 48000.0, 256);
    HostParameterChanges moves;
    moves.addChange(kJoystickXId, 0, 0.85);
    moves.addChange(kJoystickYId, 0, 0.2);
    moves.addChange(3, 0, source.getController()->plainParamToNormalized(3, 4.0));
    HostAudioBuffers buffers(2, 2, 256);
    ASSERT_EQ(source.process(buffers, 256, &moves), kResultOk);
    std::vector<uint8_t> vstState;
    ASSERT_EQ(TessalineHost::saveComponentState(source.getComponent(), vstState), kResultOk);

    HostInstance vst;
    startVst3(vst, 48000.0, 256);
    ASSERT_EQ(TessalineHost::loadComponentState(vst.getComponent(), vstState), kResultOk);
    Lv2Instance plug(world, 48000.0, 256);
    plug.control(3) = 4.0f;
    ASSERT_EQ(plug.restore(vstState, world.urid(LV2_ATOM__Chunk)), LV2_STATE_SUCCESS);
    Rendered lv2, vst3;
    renderWith(plug, vst, 256, 16384, {}, lv2, vst3);
    expectSame(lv2, vst3);

    std::vector<uint8_t> saved;
    uint32_t type = 0;
    ASSERT_EQ(plug.save(saved, type), LV2_STATE_SUCCESS);
    EXPECT_EQ(type, world.urid(LV2_ATOM__Chunk));
    EXPECT_EQ(saved, vstState);
}

// A whole state as lilv writes it (ports and the component state) into a fresh instance.
TEST_F(Lv2Plugin, StateRoundTripsThroughLilv)
{
    Lv2Instance a(world, 44100.0, 128);
    std::vector<uint8_t> joystick;
    uint32_t type = 0;
    ASSERT_EQ(a.save(joystick, type), LV2_STATE_SUCCESS);
    std::memcpy(joystick.data() + joystick.size() - 8, "\x00\x00\x00\x3f\x00\x00\x80\xbe", 8); // 0.5, -0.25
    ASSERT_EQ(a.restore(joystick, type), LV2_STATE_SUCCESS);
    a.control(0) = 0.3f;
    a.control(1) = 9.0f;
    a.control(8) = 0.0f;
    a.run(0);
    LilvState* state = a.captureState();
    ASSERT_NE(state, nullptr);
    char* text =
        lilv_state_to_string(world.world(), world.map(), world.unmap(), state, "urn:tessaline:test", nullptr);
    lilv_state_free(state);
    ASSERT_NE(text, nullptr);
    LilvState* reread = lilv_state_new_from_string(world.world(), world.map(), text);
    lilv_free(text);
    ASSERT_NE(reread, nullptr);
    Lv2Instance b(world, 44100.0, 128);
    b.applyState(reread);
    lilv_state_free(reread);
    EXPECT_EQ(b.control(1), 9.0f);
    b.run(0);
    std::vector<uint8_t> savedA, savedB;
    ASSERT_EQ(a.save(savedA, type), LV2_STATE_SUCCESS);
    ASSERT_EQ(b.save(savedB, type), LV2_STATE_SUCCESS);
    EXPECT_EQ(savedA, savedB);
    EXPECT_NE(savedB, joystick); // the ports moved after the first save
    std::vector<float> outA, outB;
    for (uint32_t block = 0; block < 40; ++block)
    {
        for (uint32_t i = 0; i < 128; ++i)
            a.input(0)[i] = a.input(1)[i] = b.input(0)[i] = b.input(1)[i] =
                i == 0 && block == 0 ? 1.0f : 0.0f;
        a.run(128);
        b.run(128);
        outA.insert(outA.end(), a.output(0), a.output(0) + 128);
        outB.insert(outB.end(), b.output(0), b.output(0) + 128);
    }
    EXPECT_EQ(outA, outB);
    EXPECT_GT(peak(outA), 1e-4f);
}

// A damaged or foreign state is refused whole: the next save and the sound are as before.
TEST_F(Lv2Plugin, BadStatesAreRefusedAndChangeNothing)
{
    Lv2Instance plug(world, 48000.0, 256);
    std::vector<uint8_t> good;
    uint32_t chunk = 0;
    ASSERT_EQ(plug.save(good, chunk), LV2_STATE_SUCCESS);
    std::vector<uint8_t> moved = good;
    std::memcpy(moved.data() + moved.size() - 8, "\x00\x00\x80\x3f\x00\x00\x80\x3f", 8); // joystick 1, 1
    const std::vector<uint8_t> version0(good.begin(), good.end() - 9); // version 0 but one byte short
    std::vector<uint8_t> shortVersion0 = version0;
    std::memset(shortVersion0.data(), 0, 8);
    struct Bad
    {
        const char* what;
        std::vector<uint8_t> bytes;
        uint32_t type;
    } cases[] = {
        {"empty", {}, chunk},
        {"shorter than the version", std::vector<uint8_t>(good.begin(), good.begin() + 7), chunk},
        {"version 1 without its last byte", std::vector<uint8_t>(moved.begin(), moved.end() - 1), chunk},
        {"version 0 without its last byte", shortVersion0, chunk},
        {"right bytes, wrong type", moved, world.urid(LV2_ATOM__String)},
    };
    Lv2Instance reference(world, 48000.0, 256);
    for (const Bad& bad : cases)
    {
        EXPECT_NE(plug.restore(bad.bytes, bad.type), LV2_STATE_SUCCESS) << bad.what;
        std::vector<uint8_t> after;
        uint32_t type = 0;
        ASSERT_EQ(plug.save(after, type), LV2_STATE_SUCCESS);
        EXPECT_EQ(after, good) << bad.what;
    }
    std::vector<float> a, b;
    for (uint32_t block = 0; block < 32; ++block)
    {
        for (uint32_t i = 0; i < 256; ++i)
            plug.input(0)[i] = plug.input(1)[i] = reference.input(0)[i] = reference.input(1)[i] =
                i == 0 && block == 0 ? 1.0f : 0.0f;
        plug.run(256);
        reference.run(256);
        a.insert(a.end(), plug.output(1), plug.output(1) + 256);
        b.insert(b.end(), reference.output(1), reference.output(1) + 256);
    }
    EXPECT_EQ(a, b);
    // The same bytes with the right type are taken.
    EXPECT_EQ(plug.restore(moved, chunk), LV2_STATE_SUCCESS);
}

// run() with moving controls and MIDI (controllers, notes, pitch bend, a truncated message)
// allocates, frees and locks nothing.
TEST_F(Lv2Plugin, RunIsRealTimeSafe)
{
    Lv2Instance plug(world, 48000.0, 512);
    plug.setMidi({{0, {0xB0, 1, 64}},
                  {3, {0xB0, 7, 100}},
                  {4, {0xB0, 64, 127}},
                  {5, {0xE0, 0, 64}},
                  {6, {0x90, 60, 100}},
                  {7, {0xB0, 20}},
                  {8, {0xD0, 30}},
                  {9, {0xB0, 123, 0}}});
    plug.run(512); // warm-up: first touches
    TestSupport::startCounting();
    for (uint32_t block = 0; block < 24; ++block)
    {
        plug.control(block % kControls) = block % 2 ? 0.0f : 1.0f;
        plug.control(kEnabledPort) = block % 5 == 4 ? 0.0f : 1.0f;
        for (uint32_t i = 0; i < 512; ++i)
            plug.input(0)[i] = plug.input(1)[i] =
                0.1f * std::sin(0.05f * static_cast<float>(i + block * 512));
        plug.run(512);
    }
    TestSupport::stopCounting();
    EXPECT_EQ(TestSupport::allocatorCalls(), 0);
    EXPECT_EQ(TestSupport::lockCalls(), 0);
}
} // namespace
