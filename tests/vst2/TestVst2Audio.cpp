// Sound through the VST2 entry: the same samples as through VST3, chunks that restore the exact
// sound, the accumulating entry, mono arrangement and host blocks longer than announced.
#include "Vst2Fixture.h"

#include "HostAudioBuffers.h"
#include "HostEffect.h"
#include "HostInstance.h"
#include "HostParameterChanges.h"

#include "pluginterfaces/vst/vstspeaker.h"
#include "vst2abi/Vst2Speakers.h"

#include <cmath>
#include <cstring>

namespace {

using namespace Vst2Test;
using namespace Steinberg;
using namespace Steinberg::Vst;

constexpr int32_t kFrames = 8192;

// The settings every comparison uses: a position, a volume and the hyperbolic decay.
void applySettings(Vst2HostEffect& host)
{
    Vst2::AEffect* e = host.effect();
    e->setParameter(e, 1, 0.8f);
    e->setParameter(e, 2, 0.25f);
    e->setParameter(e, host.findParameter("Decay Type"), 1.0f);
}

Stereo renderVst3(Vst2HostEffect& reference, const std::vector<float>& inL, const std::vector<float>& inR)
{
    TessalineHost::HostModule module;
    TessalineHost::HostInstance instance;
    std::string error;
    TUID cid;
    Stereo out{std::vector<float>(inL.size()), std::vector<float>(inR.size())};
    if (!module.load(TESSALINE_BUNDLE_PATH) || !TessalineHost::openEffect(module, instance, cid, error))
    {
        ADD_FAILURE() << module.error() << error;
        return out;
    }
    instance.setBusArrangement(SpeakerArr::kStereo);
    instance.setupProcessing(kRate, kBlock);
    instance.setActive(true);
    instance.setProcessing(true);
    // Every VST2 parameter value of the reference, as changes at the start of the first block.
    TessalineHost::HostParameterChanges changes(128, 4);
    Vst2::AEffect* e = reference.effect();
    for (int32 k = 0; k < e->numParams; ++k)
    {
        ParameterInfo info{};
        instance.getController()->getParameterInfo(k, info);
        if (std::fabs(e->getParameter(e, k) - static_cast<float>(info.defaultNormalizedValue)) > 0.0f)
            changes.addChange(info.id, 0, e->getParameter(e, k));
    }
    TessalineHost::HostAudioBuffers buffers(2, 2, kBlock);
    for (int32 start = 0; start < kFrames; start += kBlock)
    {
        const auto at = static_cast<size_t>(start);
        std::memcpy(buffers.input(0), inL.data() + at, sizeof(float) * kBlock);
        std::memcpy(buffers.input(1), inR.data() + at, sizeof(float) * kBlock);
        instance.process(buffers, kBlock, start == 0 ? &changes : nullptr);
        std::memcpy(out.left.data() + at, buffers.output(0), sizeof(float) * kBlock);
        std::memcpy(out.right.data() + at, buffers.output(1), sizeof(float) * kBlock);
    }
    return out;
}

TEST_F(Vst2Bundle, ProcessReplacingSoundsExactlyLikeVst3)
{
    const auto inL = testSignal(kFrames, 1), inR = testSignal(kFrames, 2);
    Vst2HostEffect host;
    start(host);
    applySettings(host);
    host.timeInfo.tempo = 120.0;
    host.timeInfo.sampleRate = kRate;
    host.timeInfo.flags = Vst2::kVstTransportPlaying | Vst2::kVstTempoValid;
    const Stereo vst2 = render(host, inL, inR);
    const Stereo vst3 = renderVst3(host, inL, inR);
    EXPECT_TRUE(vst2 == vst3);
    float peak = 0.0f;
    for (float s : vst2.left)
        peak = std::max(peak, std::fabs(s));
    EXPECT_GT(peak, 1e-4f); // the room answered
}

TEST_F(Vst2Bundle, SetParameterTakesEffectAtTheNextBlock)
{
    const auto in = testSignal(kFrames, 3);
    Vst2HostEffect a, b;
    start(a);
    start(b);
    const int32_t gain = a.findParameter("Gain");
    b.effect()->setParameter(b.effect(), gain, 0.1f);
    EXPECT_FALSE(render(a, in, in) == render(b, in, in));
}

TEST_F(Vst2Bundle, BypassPassesTheInputThrough)
{
    const auto inL = testSignal(kFrames, 10), inR = testSignal(kFrames, 11);
    Vst2HostEffect host;
    start(host);
    ASSERT_EQ(host.dispatch(Vst2::effSetBypass, 0, 1), 1);
    EXPECT_FLOAT_EQ(host.effect()->getParameter(host.effect(), host.findParameter("Bypass")), 1.0f);
    render(host, inL, inR); // the switch's crossfade
    const Stereo bypassed = render(host, inL, inR);
    EXPECT_EQ(bypassed.left, inL);
    EXPECT_EQ(bypassed.right, inR);
    ASSERT_EQ(host.dispatch(Vst2::effSetBypass, 0, 0), 1);
    EXPECT_FALSE(render(host, inL, inR).left == inL);
}

TEST_F(Vst2Bundle, ChunkFromOneInstanceRestoresTheExactSoundInAnother)
{
    const auto inL = testSignal(kFrames, 4), inR = testSignal(kFrames, 5);
    Vst2HostEffect a, b;
    start(a);
    applySettings(a);
    render(a, inL, inR); // the settings reach the sound
    void* data = nullptr;
    const intptr_t size = a.dispatch(Vst2::effGetChunk, 0, 0, &data);
    ASSERT_EQ(size, 62); // the component state
    ASSERT_NE(data, nullptr);
    std::vector<char> chunk(static_cast<char*>(data), static_cast<char*>(data) + size);
    void* programData = nullptr;
    EXPECT_EQ(a.dispatch(Vst2::effGetChunk, 1, 0, &programData), size); // program chunk: the same

    start(b);
    b.calls.clear();
    ASSERT_EQ(b.dispatch(Vst2::effSetChunk, 0, size, chunk.data()), 1);
    EXPECT_GE(b.callCount(Vst2::audioMasterUpdateDisplay), 1u);
    for (int32_t k = 0; k < a.effect()->numParams; ++k)
        EXPECT_FLOAT_EQ(b.effect()->getParameter(b.effect(), k), a.effect()->getParameter(a.effect(), k))
            << k;

    // Both continue from the same state: restart both and compare.
    for (Vst2HostEffect* h : {&a, &b})
    {
        h->dispatch(Vst2::effMainsChanged, 0, 0);
        h->dispatch(Vst2::effMainsChanged, 0, 1);
    }
    EXPECT_TRUE(render(a, inL, inR) == render(b, inL, inR));
}

TEST_F(Vst2Bundle, ChunkSavedWhileSuspendedHoldsTheLatestValues)
{
    Vst2HostEffect a, b;
    start(a);
    a.dispatch(Vst2::effMainsChanged, 0, 0);
    applySettings(a); // never processed
    void* data = nullptr;
    const intptr_t size = a.dispatch(Vst2::effGetChunk, 0, 0, &data);
    ASSERT_EQ(size, 62);
    start(b);
    ASSERT_EQ(b.dispatch(Vst2::effSetChunk, 0, size, data), 1);
    for (int32_t k = 0; k < 11; ++k)
        EXPECT_FLOAT_EQ(b.effect()->getParameter(b.effect(), k), a.effect()->getParameter(a.effect(), k))
            << k;

    // Never resumed at all: the same.
    Vst2HostEffect c;
    ASSERT_TRUE(c.create(modulePath())) << c.error();
    c.dispatch(Vst2::effOpen);
    applySettings(c);
    void* fresh = nullptr;
    ASSERT_EQ(c.dispatch(Vst2::effGetChunk, 0, 0, &fresh), size);
    EXPECT_EQ(std::memcmp(fresh, data, static_cast<size_t>(size)), 0);
}

TEST_F(Vst2Bundle, DamagedChunkIsRefusedAndChangesNothing)
{
    const auto in = testSignal(kFrames, 6);
    Vst2HostEffect a, b;
    start(a);
    start(b);
    applySettings(b);
    render(b, in, in);
    void* data = nullptr;
    const intptr_t size = b.dispatch(Vst2::effGetChunk, 0, 0, &data);
    ASSERT_EQ(size, 62);
    std::vector<char> whole(static_cast<char*>(data), static_cast<char*>(data) + size);

    Vst2HostEffect c;
    start(c);
    ASSERT_EQ(c.dispatch(Vst2::effSetChunk, 0, size, whole.data()), 1);
    // Cut inside the control values: refused, and the sound stays the restored one.
    EXPECT_EQ(c.dispatch(Vst2::effSetChunk, 0, 20, whole.data()), 0);
    for (Vst2HostEffect* h : {&b, &c})
    {
        h->dispatch(Vst2::effMainsChanged, 0, 0);
        h->dispatch(Vst2::effMainsChanged, 0, 1);
    }
    EXPECT_TRUE(render(b, in, in) == render(c, in, in));
}

TEST_F(Vst2Bundle, AccumulatingProcessAddsIntoTheOutputs)
{
    const auto in = testSignal(kFrames, 7);
    Vst2HostEffect a, b, c;
    start(a);
    start(b);
    start(c);
    const Stereo replaced = render(a, in, in);
    EXPECT_TRUE(render(b, in, in, kBlock, true, 0.0f) == replaced);
    const Stereo added = render(c, in, in, kBlock, true, 0.25f);
    for (size_t i = 0; i < in.size(); ++i)
        ASSERT_EQ(added.left[i], 0.25f + replaced.left[i]) << i;
}

TEST_F(Vst2Bundle, HostBlocksLongerThanAnnouncedAreProcessedInPieces)
{
    const auto in = testSignal(kFrames, 8);
    Vst2HostEffect a, b;
    start(a);
    start(b);
    const Stereo announced = render(a, in, in, kBlock);
    const Stereo longer = render(b, in, in, 3 * kBlock + 17);
    EXPECT_TRUE(announced == longer);
}

TEST_F(Vst2Bundle, MonoArrangementLeavesTheSecondOutputSilent)
{
    const auto in = testSignal(kFrames, 9);
    Vst2HostEffect host;
    ASSERT_TRUE(host.create(modulePath())) << host.error();
    host.dispatch(Vst2::effOpen);
    Vst2::VstSpeakerArrangement mono{};
    mono.type = Vst2::kSpeakerArrMono;
    mono.numChannels = 1;
    ASSERT_EQ(host.dispatch(Vst2::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono), &mono), 1);
    host.start(kRate, kBlock);
    std::vector<float> noise(in.size(), 1.0f);
    const Stereo out = render(host, in, noise);
    EXPECT_EQ(out.right, std::vector<float>(in.size(), 0.0f));
    float peak = 0.0f;
    for (float s : out.left)
        peak = std::max(peak, std::fabs(s));
    EXPECT_GT(peak, 1e-4f);
}

} // namespace

TEST_F(Vst2Bundle, EveryRoomControlReadsBackWhatARestoredChunkHolds)
{
    // Save a chunk, move the control, restore the chunk, read: the saved value, whatever the host
    // set in between. Decay Type's fractions are held as the whole value the room uses.
    Vst2HostEffect host;
    start(host);
    Vst2::AEffect* e = host.effect();
    const std::vector<float> silence(kBlock, 0.0f);
    const float values[] = {0.0f, 0.21f, 0.5f, 0.679f, 1.0f};
    const int32_t decayType = host.findParameter("Decay Type");
    const int32_t midiVol = host.findParameter("MIDI Vol");
    ASSERT_GE(decayType, 0);
    ASSERT_GE(midiVol, 0);
    for (int32_t k = 0; k < 11; ++k)
        for (float saved : values)
            for (float other : values)
            {
                if (other == saved)
                    continue;
                e->setParameter(e, k, saved);
                const float held = e->getParameter(e, k);
                if (k == decayType)
                {
                    EXPECT_EQ(held, saved < 0.5f ? 0.0f : 1.0f) << saved;
                }
                render(host, silence, silence); // the value reaches the sound
                void* data = nullptr;
                const intptr_t size = host.dispatch(Vst2::effGetChunk, 0, 0, &data);
                ASSERT_EQ(size, 62);
                const std::vector<char> chunk(static_cast<char*>(data), static_cast<char*>(data) + size);
                e->setParameter(e, k, other);
                e->setParameter(e, midiVol, other);
                render(host, silence, silence);
                ASSERT_EQ(host.dispatch(Vst2::effSetChunk, 0, size, const_cast<char*>(chunk.data())), 1);
                // Continuous controls pass the chunk's float32 plain values.
                EXPECT_NEAR(e->getParameter(e, k), held, 1e-6f)
                    << k << " saved " << saved << " then " << other;
                if (k == decayType || k == 1 || k >= 9)
                {
                    EXPECT_EQ(e->getParameter(e, k), held) << k << " saved " << saved << " then " << other;
                }
                EXPECT_EQ(e->getParameter(e, midiVol), other); // not in the chunk: the host's value
                render(host, silence, silence);
                data = nullptr;
                ASSERT_EQ(host.dispatch(Vst2::effGetChunk, 0, 0, &data), size);
                EXPECT_EQ(std::memcmp(data, chunk.data(), chunk.size()), 0)
                    << k << " saved " << saved << " then " << other;
            }
}
