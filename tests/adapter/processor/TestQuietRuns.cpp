// The VST3 path hands the room the frames between events as runs: its output, and the transport
// the room holds after each block, equal those of a room taken frame by frame, with MIDI events,
// parameter points, a bypass switch and a smoothed control's glide falling at every position of a
// block, at several block sizes and phases, in mono and stereo, for both rooms.
#include "realtime/RealtimeRig.h"
#include "room/CTessalineAnyRate.h"
#include "support/Noise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

using namespace AdapterTest;

namespace {

constexpr int32 kFrames = 9000;

// One Processor with its host side; a mono host sets its bus arrangement before setup.
struct Host
{
    Processor* processor;
    TessalineHost::HostAudioBuffers buffers;
    TessalineHost::HostParameterChanges changes{32, 8};
    TessalineHost::HostEventList events{32};

    Host(Processor::PlugInCreator creator, double rate, int32 channels, bool frameByFrame)
        : processor(new Processor(creator))
        , buffers(channels, channels, 1024)
    {
        processor->initialize(nullptr);
        auto& room = static_cast<CTessaline&>(*processor->plugIn());
        room.m_bFrameByFrame = frameByFrame;
        // Gain glides for about a hundred frames after each change: runs must wait for it.
        CControlEntry* gain = room.m_ControlList.controlAt(CTessaline::kGain);
        gain->bSmooth = true;
        gain->fSmoothTimeMs = 1.0f;
        SpeakerArrangement arrangement = channels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
        processor->setBusArrangements(&arrangement, 1, &arrangement, 1);
        ProcessSetup setup{kRealtime, kSample32, 1024, rate};
        processor->setupProcessing(setup);
        processor->setActive(true);
        buffers.useContext(true);
    }
    ~Host()
    {
        processor->setActive(false);
        processor->terminate();
        processor->release();
    }
    const CHostInfo& transport() const { return processor->plugIn()->m_HostInfo; }
};

struct PathCase
{
    const char* room;
    Processor::PlugInCreator creator;
    double rate;
    int32 channels;
    int32 block; // frames per block …
    int32 phase; // … after a first block of this many
};

// Whether the block of n frames from start holds a multiple of m.
bool holdsMultiple(int32 start, int32 n, int32 m)
{
    return start % m == 0 || start / m != (start + n - 1) / m;
}

// The events and parameter points of the block of n frames from start (the bth), at the position
// p that moves through the block as the blocks go by: a note-on (every third block), a Gain point
// every 320 frames (its glide ends before the next, and runs resume), a point of one of the
// response controls every 448 frames, the routing every 704, and the bypass on (block 13) and off
// again (block 17).
void fillBlock(Host& host, int32 b, int32 start, int32 n)
{
    host.changes.clear();
    host.events.clear();
    const int32 p = b % n;
    if (b % 3 == 0)
    {
        Event note = TessalineHost::HostEventList::noteOn(p, 0, 60, 0.5f);
        host.events.addEvent(note);
    }
    if (holdsMultiple(start, n, 320))
        host.changes.addChange(CTessaline::kGain, p, 0.2 + 0.1 * (start / 320 % 7));
    if (holdsMultiple(start, n, 448))
        host.changes.addChange(static_cast<ParamID>(CTessaline::kPosition + start / 448 % 8), p,
                               (b % 10) / 10.0);
    if (holdsMultiple(start, n, 704))
        host.changes.addChange(
            static_cast<ParamID>(start / 704 % 2 == 0 ? CTessaline::kStereoMono : CTessaline::kLeftRight), p,
            start / 1408 % 2);
    if (b == 13 || b == 17)
        host.changes.addChange(kParamBypass, p, b == 13 ? 1.0 : 0.0);
}

// Noise with a NaN in it, in place of the host's input.
void fillInput(Host& host, int32 start, int32 frames, uint32_t seed)
{
    for (int32 c = 0; c < host.buffers.inputChannels(); ++c)
    {
        uint32_t s = seed + 977u * static_cast<uint32_t>(c);
        float* in = host.buffers.input(c);
        for (int32 i = 0; i < frames; ++i)
            in[i] = (start + i) % 1000 == 999 ? std::numeric_limits<float>::quiet_NaN()
                                              : 0.5f * TestSupport::lcgNoise(s);
    }
}

TEST(QuietRuns, RunsBetweenEventsGiveTheFramesOutputAndTransport)
{
    const PathCase kCases[] = {
        {"Tessaline", &::createPlugIn, 48000.0, 2, 1, 0},
        {"Tessaline", &::createPlugIn, 48000.0, 2, 64, 0},
        {"Tessaline", &::createPlugIn, 48000.0, 2, 256, 45},
        {"Tessaline", &::createPlugIn, 48000.0, 1, 100, 7},
        {"Tessaline", &::createPlugIn, 48000.0, 1, 1024, 1000},
        {"Tessaline", &::createPlugIn, 48000.0, 2, 333, 129},
        {"Any Rate", &::createAnyRatePlugIn, 44100.0, 2, 64, 31},
        {"Any Rate", &::createAnyRatePlugIn, 96000.0, 1, 512, 0},
    };
    for (const PathCase& c : kCases)
    {
        SCOPED_TRACE(::testing::Message() << c.room << " at " << c.rate << " Hz, " << c.channels
                                          << " channel(s), blocks of " << c.block << " after " << c.phase);
        Host runs(c.creator, c.rate, c.channels, false);
        Host frames(c.creator, c.rate, c.channels, true);
        int32 b = 0;
        for (int32 start = 0; start < kFrames; ++b)
        {
            const int32 n = std::min(kFrames - start, b == 0 && c.phase > 0 ? c.phase : c.block);
            for (Host* host : {&runs, &frames})
            {
                fillBlock(*host, b, start, n);
                fillInput(*host, start, n, 5u + static_cast<uint32_t>(start));
                host->buffers.context().projectTimeSamples = 1000 + start;
                ProcessData& data = host->buffers.prepare(n);
                data.inputParameterChanges = &host->changes;
                data.inputEvents = &host->events;
                ASSERT_EQ(host->processor->process(data), kResultOk);
            }
            for (int32 ch = 0; ch < c.channels; ++ch)
                for (int32 i = 0; i < n; ++i)
                    ASSERT_EQ(std::memcmp(runs.buffers.output(ch) + i, frames.buffers.output(ch) + i,
                                          sizeof(float)),
                              0)
                        << "channel " << ch << ", frame " << start + i << " (block " << b << ", position "
                        << i << "): " << runs.buffers.output(ch)[i] << " against "
                        << frames.buffers.output(ch)[i];
            ASSERT_EQ(runs.transport().uSamplePos, frames.transport().uSamplePos) << "block " << b;
            ASSERT_EQ(runs.transport().dTimeSeconds, frames.transport().dTimeSeconds) << "block " << b;
            start += n;
        }
    }
}

} // namespace
