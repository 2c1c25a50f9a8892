// The audio callback in process: parameter changes, buffers, events, transport and set-up.
#include "ProcessFixture.h"

#include "adapter/realtime/CVSTParamUpdateQueue.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <cmath>
#include <limits>

using namespace AdapterTest;

TEST(ProcessChanges, FlushCallAppliesChangesAndScanSkipsEmptyQueuesAndPassesBypass)
{
    ProcessRig rig;
    rig.changes.appendQueue(1); // no points: skipped, the scan goes on
    rig.changes.addChange(kParamBypass, 0, 1.0);
    rig.changes.addChange(0, 0, 0.2);           // after bypass: still applied
    rig.changes.addChange(0, 100, 0.9);         // last point wins
    ProcessData& data = rig.buffers.prepare(0); // flush: no samples, no buffers
    data.inputs = nullptr;
    data.outputs = nullptr;
    data.numInputs = data.numOutputs = 0;
    data.inputParameterChanges = &rig.changes;
    EXPECT_EQ(rig->process(data), kResultOk);
    EXPECT_FLOAT_EQ(rig.dsp->values[0], 0.9f);
    // Bypass is on: once the switch has faded (a few ms), blocks copy input to output and the
    // DSP object runs no frame.
    TessalineHost::HostAudioBuffers buffers(2, 2, 512);
    EXPECT_EQ(rig->process(buffers.prepare(512)), kResultOk);
    const auto framesBefore = rig.dsp->frame;
    buffers.input(0)[3] = 0.5f;
    buffers.fillOutputs(7.0f);
    EXPECT_EQ(rig->process(buffers.prepare(8)), kResultOk);
    EXPECT_EQ(buffers.output(0)[3], 0.5f);
    EXPECT_EQ(buffers.output(1)[3], 0.0f);
    EXPECT_EQ(rig.dsp->frame, framesBefore);
}

TEST(ProcessChanges, HostValuesOutsideTheRangeAreClampedAndNaNIgnored)
{
    struct Case
    {
        double host;
        float gain;
    };
    const Case cases[] = {
        {2.5, 1.0f}, {-3.0, 0.0f}, {std::numeric_limits<double>::infinity(), 1.0f}, {std::nan(""), 0.5f}};
    for (const Case& c : cases)
    {
        ProcessRig rig;
        rig.changes.addChange(0, 0, c.host);
        rig.changes.addChange(kParamPitchBend, 0, c.host);
        rig.run(4);
        EXPECT_EQ(rig.dsp->values[0], c.gain) << c.host;
        for (const MidiCall& call : rig.dsp->midi)
            EXPECT_TRUE(call.f >= -1.0f && call.f <= 1.0f) << call;
    }
}

TEST(ProcessBuffers, MissingBusesArraysOrPointersAreNeverTouched)
{
    ProcessRig rig;
    ProcessData& data = rig.buffers.prepare(16);
    AudioBusBuffers* outputs = data.outputs;
    AudioBusBuffers* inputs = data.inputs;
    data.outputs = nullptr;
    EXPECT_EQ(rig->process(data), kResultOk);
    data.outputs = outputs;
    data.inputs = nullptr;
    EXPECT_EQ(rig->process(data), kResultOk);
    EXPECT_EQ(rig.dsp->frame, 0);
    data.inputs = inputs;
    // A null input channel pointer reads silence; a null output pointer limits the channels.
    float* savedIn = inputs[0].channelBuffers32[1];
    float* savedOut = outputs[0].channelBuffers32[1];
    inputs[0].channelBuffers32[1] = nullptr;
    EXPECT_EQ(rig->process(data), kResultOk);
    EXPECT_EQ(rig.dsp->lastChannels, 2u);
    outputs[0].channelBuffers32[1] = nullptr;
    EXPECT_EQ(rig->process(data), kResultOk);
    EXPECT_EQ(rig.dsp->lastChannels, 1u);
    inputs[0].channelBuffers32[1] = savedIn;
    outputs[0].channelBuffers32[1] = savedOut;
    // A null channel array on the input is silence, not a crash.
    float** savedArray = inputs[0].channelBuffers32;
    inputs[0].channelBuffers32 = nullptr;
    rig.buffers.fillOutputs(9.0f);
    EXPECT_EQ(rig->process(data), kResultOk);
    EXPECT_EQ(rig.buffers.output(0)[0], 0.5f); // 0 * 2 + gain
    inputs[0].channelBuffers32 = savedArray;
}

TEST(ProcessBuffers, ChannelCountIsTheSmallestOfArrangementBuffersAndTwo)
{
    ProcessRig rig(nullptr, false);
    SpeakerArrangement mono = SpeakerArr::kMono;
    ASSERT_EQ(rig->setBusArrangements(&mono, 1, &mono, 1), kResultTrue);
    ASSERT_EQ(rig->setActive(true), kResultOk);
    rig.run(4);
    EXPECT_EQ(rig.dsp->lastChannels, 1u);
    TessalineHost::HostAudioBuffers wide(4, 4, 8);
    SpeakerArrangement stereo = SpeakerArr::kStereo;
    ASSERT_EQ(rig->setBusArrangements(&stereo, 1, &stereo, 1), kResultTrue);
    rig->process(wide.prepare(8));
    EXPECT_EQ(rig.dsp->lastChannels, 2u);
}

TEST(ProcessSetup, BusArrangementsOnlyMatchingMonoOrStereo)
{
    ProcessRig rig(nullptr, false);
    SpeakerArrangement st = SpeakerArr::kStereo, mono = SpeakerArr::kMono, surround = SpeakerArr::k51;
    EXPECT_EQ(rig->setBusArrangements(&st, 1, &st, 1), kResultTrue);
    EXPECT_EQ(rig->setBusArrangements(&mono, 1, &mono, 1), kResultTrue);
    EXPECT_EQ(rig->setBusArrangements(&mono, 1, &st, 1), kResultFalse);
    EXPECT_EQ(rig->setBusArrangements(&surround, 1, &surround, 1), kResultFalse);
    EXPECT_EQ(rig->setBusArrangements(nullptr, 0, &st, 1), kResultFalse);
    EXPECT_EQ(rig->setBusArrangements(nullptr, 1, &st, 1), kResultFalse);
    EXPECT_EQ(rig->setBusArrangements(&st, 1, nullptr, 1), kResultFalse);
}

TEST(ProcessSetup, BadRatesAndSampleSizesAreRefusedBeforeTheDspObjectIsTouched)
{
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    struct Case
    {
        double rate;
        int32 size;
    };
    const Case refused[] = {
        {nan, kSample32},     {inf, kSample32},      {-inf, kSample32},         {0.0, kSample32},
        {0.5, kSample32},     {-48000.0, kSample32}, {2147483648.0, kSample32}, {1e300, kSample32},
        {48000.0, kSample64}, {48000.0, 7}};
    for (const Case& c : refused)
    {
        ProcessRig rig(nullptr, false);
        const int before = rig.dsp->prepares;
        const int32 rate = rig.dsp->m_nSampleRate;
        ProcessSetup setup{kRealtime, c.size, 256, c.rate};
        EXPECT_EQ(rig->setupProcessing(setup), kResultFalse) << c.rate << " " << c.size;
        EXPECT_EQ(rig.dsp->prepares, before);
        EXPECT_EQ(rig.dsp->m_nSampleRate, rate);
    }
    ProcessRig rig(nullptr, false);
    ProcessSetup top{kRealtime, kSample32, 256, 2147483647.0};
    EXPECT_EQ(rig->setupProcessing(top), kResultOk);
    EXPECT_EQ(rig.dsp->m_nSampleRate, 2147483647);
}

TEST(ProcessEvents, LateOrOutOfOrderEventsArriveNoLaterThanTheLastFrame)
{
    ProcessRig rig;
    const int32 offsets[] = {0, 0, 5, 3, 40, -2};
    for (int32 k = 0; k < 6; ++k)
    {
        Event e = TessalineHost::HostEventList::noteOn(offsets[k], 0, static_cast<int16>(60 + k), 1.0f);
        rig.events.addEvent(e);
    }
    rig.run(16);
    ASSERT_EQ(rig.dsp->notes.size(), 6u);
    const int64_t frames[] = {0, 0, 5, 5, 15, 15};
    for (size_t k = 0; k < 6; ++k)
    {
        EXPECT_EQ(rig.dsp->notes[k].pitch, 60 + static_cast<int64_t>(k));
        EXPECT_EQ(rig.dsp->notes[k].frame, frames[k]) << k;
    }
}

TEST(ProcessEvents, RawMidiChordsAndTheListPointerClearedAfterTheBlock)
{
    ProcessRig rig;
    static const char16 tag[] = {'T', 'O', 'V', 'U', 'M', 'I', 'D', 'I', 0};
    Event bend = {};
    bend.type = Event::kChordEvent;
    bend.sampleOffset = 1;
    bend.chord.root = 3;
    bend.chord.bassNote = 224;
    bend.chord.mask = 0;
    bend.chord.textLen = 0;
    bend.chord.text = tag;
    rig.events.addEvent(bend);
    bend.chord.textLen = 64; // data 2 = 64: centre
    rig.events.addEvent(bend);
    rig.run(4);
    ASSERT_EQ(rig.dsp->midi.size(), 2u);
    EXPECT_EQ(rig.dsp->midi[0], (MidiCall{"pitchBend", 3, -8192, 0, 0, -1.0f}));
    EXPECT_EQ(rig.dsp->midi[1], (MidiCall{"pitchBend", 3, 0, 0, 0, 0.0f}));
    // The DSP object's event list forgets the host list once the block is over.
    ASSERT_NE(rig.dsp->eventList, nullptr);
    EXPECT_EQ(rig.events.getEventCount(), 2);
    EXPECT_EQ(rig.dsp->eventList->getEventCount(), 0);
}

TEST(ProcessTransport, SamplePositionKeepsSixtyFourBitsAndNegativeTimeIsZero)
{
    ProcessRig rig;
    rig.buffers.useContext(true);
    rig.buffers.context().projectTimeSamples = (int64_t(1) << 32) + 10;
    rig.run(3);
    ASSERT_EQ(rig.dsp->samplePositions.size(), 3u);
    EXPECT_EQ(rig.dsp->samplePositions[0], (uint64_t(1) << 32) + 10);
    EXPECT_EQ(rig.dsp->samplePositions[2], (uint64_t(1) << 32) + 12);
    rig.buffers.context().projectTimeSamples = -500;
    rig.run(2);
    EXPECT_EQ(rig.dsp->samplePositions[3], 0u);
    EXPECT_EQ(rig.dsp->samplePositions[4], 1u);
}

TEST(ProcessInput, NonFiniteSamplesReachTheDspObjectAsSilence)
{
    ProcessRig rig;
    rig.buffers.input(0)[0] = std::nanf("");
    rig.buffers.input(0)[1] = std::numeric_limits<float>::infinity();
    rig.buffers.input(0)[2] = 0.25f;
    rig.run(3);
    EXPECT_EQ(rig.dsp->inputs, (std::vector<float>{0.0f, 0.0f, 0.25f}));
}

TEST(ProcessTail, TailIsRoundedUpFromTheTailTime)
{
    ProcessRig rig(nullptr, false);
    rig.dsp->m_fTailTimeMs = 500.0f;
    EXPECT_EQ(rig->getTailSamples(), 24000u);
    rig.dsp->m_fTailTimeMs = 0.01f; // 0.48 samples
    EXPECT_EQ(rig->getTailSamples(), 1u);
    rig.dsp->m_bInfiniteTail = 1;
    EXPECT_EQ(rig->getTailSamples(), kInfiniteTail);
}

TEST(UpdateQueue, TwoPointsAtTheSameOffsetMakeAStepWithoutDivision)
{
    TessalineHost::HostParamValueQueue host(8);
    host.reset(0);
    host.appendPoint(0, 0.2);
    host.appendPoint(0, 0.8);
    host.appendPoint(8, 0.4);
    int32 interval = 1;
    CVSTParamUpdateQueue queue(&interval);
    queue.beginBlock(&host, 16);
    for (int n = 0; n < 16; ++n)
    {
        double v = -1.0;
        if (queue.getNextValue(&v))
        {
            EXPECT_TRUE(std::isfinite(v) && v >= 0.0 && v <= 1.0) << n << " " << v;
        }
    }
    // A ramp from 0 to 1 over 10 samples on a grid of 5 gives 0.5 at 5 and 1 at 10.
    host.reset(0);
    host.appendPoint(0, 0.0);
    host.appendPoint(10, 1.0);
    interval = 5;
    CVSTParamUpdateQueue ramp(&interval);
    ramp.beginBlock(&host, 16);
    std::vector<std::pair<int, double>> seen;
    for (int n = 0; n < 16; ++n)
    {
        double v = 0.0;
        if (ramp.getNextValue(&v))
            seen.emplace_back(n, v);
    }
    EXPECT_EQ(seen, (std::vector<std::pair<int, double>>{{5, 0.5}, {10, 1.0}}));
}
