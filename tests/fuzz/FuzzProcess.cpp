// libFuzzer target: arbitrary parameter changes, events, block sizes and input samples for
// process, through one long-lived Processor with the real room effect, put back to its defaults
// between inputs (not rebuilt). Every output sample must be finite. Blocks are short: the streams,
// not the convolution, are what is fuzzed here.
#include "adapter/processor/Processor.h"

#include "FuzzInput.h"
#include "FuzzStreams.h"
#include "HostAudioBuffers.h"
#include "HostEventList.h"
#include "HostParameterChanges.h"

#include "public.sdk/source/common/memorystream.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Steinberg::Vst::Vava2DUZ3;

namespace {
using TessalineFuzz::Input;

const ParamID kIds[] = {0,     1,      2,      3,      4,      5,      6,          7,         8,     9,
                        10,    11,     0x800,  0x801,  0x802,  0x803,  0x804,      0x805,     0x806, 0x807,
                        0x808, 0x8000, 0x8001, 0x8002, 0x8005, 0x8006, 0x70727374, 0xFFFFFFFF};

// A host value: mostly inside 0 .. 1, sometimes any double (NaN, infinities, huge).
double hostValue(Input& in)
{
    const uint8_t kind = in.byte();
    if (kind < 200)
        return in.byte() / 255.0;
    return in.raw<double>();
}

struct Instance
{
    Processor* processor = new Processor();
    std::vector<uint8_t> defaults;
    Instance()
    {
        processor->initialize(nullptr);
        ProcessSetup setup{kRealtime, kSample32, 1024, 48000.0};
        processor->setupProcessing(setup);
        MemoryStream stream;
        processor->getState(&stream);
        const auto* bytes = reinterpret_cast<const uint8_t*>(stream.getData());
        defaults.assign(bytes, bytes + stream.getSize());
    }
};

constexpr int kMaxBlocks = 8;
constexpr int32 kMaxSamples = 128;

void loadState(Processor& processor, const std::vector<uint8_t>& bytes)
{
    TessalineFuzz::InputStream stream(bytes.data(), bytes.size());
    processor.setState(&stream);
}

void fillChanges(Input& in, TessalineHost::HostParameterChanges& changes, int32 samples)
{
    changes.clear();
    const int queues = in.byte() % 8;
    for (int q = 0; q < queues; ++q)
    {
        TessalineHost::HostParamValueQueue* queue = changes.appendQueue(kIds[in.byte() % 28]);
        if (!queue)
            break;
        const int points = in.byte() % 5;
        for (int p = 0; p < points; ++p)
        {
            const int32 offset =
                static_cast<int32>(in.byte() % 4 == 0 ? in.raw<int16_t>() : in.u16() % (samples + 1));
            queue->appendPoint(offset, hostValue(in));
        }
    }
}

void fillEvents(Input& in, TessalineHost::HostEventList& events, const char16* tag)
{
    events.clear();
    const int count = in.byte() % 8;
    for (int e = 0; e < count; ++e)
    {
        Event event = {};
        event.type = static_cast<uint16>(in.byte() % 8);
        event.sampleOffset = static_cast<int32>(in.raw<int16_t>());
        event.noteOn.channel = static_cast<int16>(in.byte() % 20);
        event.noteOn.pitch = static_cast<int16>(in.byte());
        event.noteOn.velocity = in.raw<float>();
        if (event.type == Event::kChordEvent)
        {
            event.chord.root = static_cast<int16>(in.byte());
            event.chord.bassNote = static_cast<int16>(in.byte() | (in.byte() % 2 << 8));
            event.chord.mask = static_cast<int16>(in.byte());
            event.chord.textLen = in.byte();
            event.chord.text = in.byte() % 4 ? tag : nullptr;
        }
        events.addEvent(event);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::vector<float> kWave = [] {
        std::vector<float> wave(kMaxSamples);
        for (size_t i = 0; i < wave.size(); ++i)
            wave[i] = std::sin(0.05f * static_cast<float>(i));
        return wave;
    }();
    static Instance instance;
    static TessalineHost::HostAudioBuffers buffers(2, 2, kMaxSamples);
    static TessalineHost::HostParameterChanges changes(8, 8);
    static TessalineHost::HostEventList events(8);
    static const char16 tag[] = {'T', 'O', 'V', 'U', 'M', 'I', 'D', 'I', 0};
    Processor& processor = *instance.processor;
    processor.setActive(false);
    loadState(processor, instance.defaults);

    Input in(data, size);
    processor.setActive(in.byte() % 8 != 0);
    for (int block = 0; block < kMaxBlocks && !in.empty(); ++block)
    {
        const int32 samples = in.u16() % (kMaxSamples + 1);
        fillChanges(in, changes, samples);
        fillEvents(in, events, tag);
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < samples; ++i)
                buffers.input(c)[i] = (i % 61 == 0) ? in.raw<float>() : kWave[i];
        if (in.byte() % 16 == 0)
            processor.setParamNormalized(kIds[in.byte() % 28], hostValue(in));
        ProcessData& blockData = buffers.prepare(samples);
        blockData.inputParameterChanges = &changes;
        blockData.inputEvents = &events;
        processor.process(blockData);
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < samples; ++i)
                if (!std::isfinite(buffers.output(c)[i]))
                    std::abort();
    }
    return 0;
}
