// The side-chain bus and whole-buffer processing: what reaches processAuxInput and
// processBuffers, including the silent input that stands in for missing channels.
#include "ProcessFixture.h"

#include <array>
#include <utility>

using namespace AdapterTest;

namespace {
class ModeDsp : public RecordingDsp
{
public:
    struct AuxCall
    {
        std::array<float, 2> frame; // pAuxFrame's two samples; NaN in whole-buffer mode
        float** buffers;
        uint32_t channels;
        int32_t version;
    };
    struct BufferCall
    {
        float* in[2];
        float* out[2];
        uint32_t channels;
        uint32_t frames;
        bool silentInput; // every sample of the inputs handed over is zero
    };
    std::vector<AuxCall> aux;
    std::vector<BufferCall> buffers;
    std::vector<std::pair<char, int64_t>> order; // 'a' side-chain frame, 'n' note, at which frame

    ModeDsp(bool wholeBuffers, bool outputOnly)
    {
        m_bWantSidechain = 1;
        m_bProcessWholeBuffers = wholeBuffers;
        m_bOutputOnly = outputOnly;
        addControl("Gain", 100, kDataFloat, 0.0f, 1.0f, 0.5f);
    }

    bool processAuxInput(CAuxInputInfo* info) override
    {
        const float nan = std::nanf("");
        const std::array<float, 2> frame = info->pAuxFrame
                                               ? std::array<float, 2>{info->pAuxFrame[0], info->pAuxFrame[1]}
                                               : std::array<float, 2>{nan, nan};
        aux.push_back({frame, info->ppAuxBuffers, info->uAuxChannels, info->nVersion});
        order.emplace_back('a', this->frame);
        return true;
    }

    bool midiNoteOn(uint32_t channel, uint32_t note, uint32_t velocity) override
    {
        order.emplace_back('n', frame);
        return RecordingDsp::midiNoteOn(channel, note, velocity);
    }

    bool processBuffers(float** in, float** out, uint32_t channels, uint32_t frames) override
    {
        bool silent = true;
        for (uint32_t c = 0; c < channels; ++c)
            for (uint32_t i = 0; i < frames; ++i)
                silent = silent && in[c][i] == 0.0f;
        buffers.push_back({{in[0], in[1]}, {out[0], out[1]}, channels, frames, silent});
        return true;
    }
};

// Main buses from a HostAudioBuffers block plus a side-chain bus of its own memory.
struct SidechainBlock
{
    std::vector<float> left{1.0f, 2.0f, 3.0f, 4.0f};
    std::vector<float> right{-1.0f, -2.0f, -3.0f, -4.0f};
    float* channels[2] = {left.data(), right.data()};
    AudioBusBuffers buses[2] = {};

    ProcessData& attach(ProcessData& data, int32 auxChannels)
    {
        buses[0] = data.inputs[0];
        buses[1].numChannels = auxChannels;
        buses[1].channelBuffers32 = channels;
        data.inputs = buses;
        data.numInputs = 2;
        return data;
    }
};
} // namespace

TEST(ProcessSidechain, FramesCarryTheAuxSamplesOfAnActiveBusOnly)
{
    auto* dsp = new ModeDsp(false, false);
    ProcessRig rig(dsp);
    SidechainBlock block;
    // Declared but not activated by the host: nothing is fed.
    EXPECT_EQ(rig->process(block.attach(rig.buffers.prepare(4), 2)), kResultOk);
    EXPECT_TRUE(dsp->aux.empty());
    EXPECT_EQ(dsp->frame, 4);

    ASSERT_EQ(rig->activateBus(kAudio, kInput, 1, true), kResultOk);
    EXPECT_EQ(rig->process(block.attach(rig.buffers.prepare(4), 2)), kResultOk);
    ASSERT_EQ(dsp->aux.size(), 4u);
    for (size_t i = 0; i < 4; ++i)
    {
        EXPECT_EQ(dsp->aux[i].frame, (std::array<float, 2>{block.left[i], block.right[i]})) << i;
        EXPECT_EQ(dsp->aux[i].channels, 2u);
        EXPECT_EQ(dsp->aux[i].version, 1);
        EXPECT_EQ(dsp->aux[i].buffers, nullptr);
    }
    // A mono side-chain leaves the second sample of the frame silent.
    dsp->aux.clear();
    EXPECT_EQ(rig->process(block.attach(rig.buffers.prepare(2), 1)), kResultOk);
    ASSERT_EQ(dsp->aux.size(), 2u);
    EXPECT_EQ(dsp->aux[1].frame, (std::array<float, 2>{2.0f, 0.0f}));
    EXPECT_EQ(dsp->aux[1].channels, 1u);
    // A bus with no usable channel pointer is not fed.
    dsp->aux.clear();
    block.channels[0] = nullptr;
    EXPECT_EQ(rig->process(block.attach(rig.buffers.prepare(2), 2)), kResultOk);
    EXPECT_TRUE(dsp->aux.empty());
}

// Each frame takes its side-chain frame first, then the events due at it (late and out-of-order
// ones included), then is processed: frames without events in between are fed exactly once too.
TEST(ProcessSidechain, EachFrameFeedsItsAuxThenItsEventsThenRuns)
{
    auto* dsp = new ModeDsp(false, false);
    ProcessRig rig(dsp);
    ASSERT_EQ(rig->activateBus(kAudio, kInput, 1, true), kResultOk);
    for (int32 offset : {2, 0, 2, 9})
    {
        Event note = TessalineHost::HostEventList::noteOn(offset, 0, 60, 1.0f);
        rig.events.addEvent(note);
    }
    SidechainBlock block;
    ProcessData& data = block.attach(rig.buffers.prepare(4), 2);
    data.inputEvents = &rig.events;
    EXPECT_EQ(rig->process(data), kResultOk);
    const std::vector<std::pair<char, int64_t>> expected = {{'a', 0}, {'a', 1}, {'a', 2}, {'n', 2},
                                                            {'n', 2}, {'n', 2}, {'a', 3}, {'n', 3}};
    EXPECT_EQ(dsp->order, expected);
    EXPECT_EQ(dsp->frame, 4);
    ASSERT_EQ(dsp->aux.size(), 4u);
    EXPECT_EQ(dsp->aux[3].frame, (std::array<float, 2>{4.0f, -4.0f}));
}

TEST(ProcessWholeBuffers, OneCallWithTheHostChannelsAndTheAuxBuffers)
{
    auto* dsp = new ModeDsp(true, false);
    ProcessRig rig(dsp);
    ASSERT_EQ(rig->activateBus(kAudio, kInput, 1, true), kResultOk);
    SidechainBlock block;
    EXPECT_EQ(rig->process(block.attach(rig.buffers.prepare(200), 2)), kResultOk);
    EXPECT_EQ(dsp->frame, 0); // no per-frame processing in this mode
    ASSERT_EQ(dsp->aux.size(), 1u);
    EXPECT_EQ(dsp->aux[0].buffers, block.channels);
    EXPECT_EQ(dsp->aux[0].channels, 2u);
    EXPECT_TRUE(std::isnan(dsp->aux[0].frame[0]));
    ASSERT_EQ(dsp->buffers.size(), 1u);
    const ModeDsp::BufferCall& call = dsp->buffers[0];
    EXPECT_EQ(call.frames, 200u);
    EXPECT_EQ(call.channels, 2u);
    for (int32 c = 0; c < 2; ++c)
    {
        EXPECT_EQ(call.in[c], rig.buffers.input(c)) << c;
        EXPECT_EQ(call.out[c], rig.buffers.output(c)) << c;
    }
}

TEST(ProcessWholeBuffers, MissingInputsReadSilenceInPiecesThatCoverTheBlock)
{
    // A missing input channel pointer, and an output-only DSP object: both read the silent
    // channels, which hold the set-up's 256 frames, so a 600-frame block comes in three pieces.
    for (const bool outputOnly : {false, true})
    {
        auto* dsp = new ModeDsp(true, outputOnly);
        ProcessRig rig(dsp);
        TessalineHost::HostAudioBuffers big(2, 2, 600);
        big.input(0)[0] = 0.5f;
        ProcessData& data = big.prepare(600);
        if (!outputOnly)
            data.inputs[0].channelBuffers32[1] = nullptr;
        EXPECT_EQ(rig->process(data), kResultOk);
        ASSERT_EQ(dsp->buffers.size(), 3u) << outputOnly;
        const uint32_t frames[] = {256, 256, 88};
        uint32_t start = 0;
        for (size_t k = 0; k < 3; ++k)
        {
            const ModeDsp::BufferCall& call = dsp->buffers[k];
            EXPECT_EQ(call.frames, frames[k]) << k;
            EXPECT_EQ(call.out[0], big.output(0) + start) << k;
            EXPECT_EQ(call.out[1], big.output(1) + start) << k;
            if (outputOnly)
                EXPECT_TRUE(call.silentInput) << k;
            else
                EXPECT_EQ(call.in[0], big.input(0) + start) << k;
            start += frames[k];
        }
        EXPECT_NE(dsp->buffers[0].in[1], nullptr);
        EXPECT_EQ(dsp->buffers[0].in[1], dsp->buffers[1].in[1]); // the same silent channel
    }
}
