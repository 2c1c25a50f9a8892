// Cost of an idle room against a busy one: two instances at 48 kHz, one fed noise, the other
// zeros after more than its tail, timed block by block in the same loop so both see the same
// machine. Prints both costs per block and the idle one as a share of the busy one.
#include "adapter/processor/Processor.h"

#include "HostAudioBuffers.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Steinberg::Vst::Vava2DUZ3;

namespace {

struct Instance
{
    Processor* processor = new Processor();
    TessalineHost::HostAudioBuffers buffers;

    explicit Instance(int32 block)
        : buffers(2, 2, block)
    {
        processor->initialize(nullptr);
        ProcessSetup setup{kRealtime, kSample32, block, 48000.0};
        processor->setupProcessing(setup);
        processor->setActive(true);
    }
    ~Instance()
    {
        processor->setActive(false);
        processor->terminate();
        processor->release();
    }
    // One block of noise or of zeros; returns its cost in microseconds.
    double process(int32 block, bool noise, uint32_t& seed)
    {
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < block; ++i)
            {
                seed = seed * 1664525u + 1013904223u;
                buffers.input(c)[i] = noise ? static_cast<float>(seed >> 8) / 16777216.0f - 0.5f : 0.0f;
            }
        ProcessData& data = buffers.prepare(block);
        const auto start = std::chrono::steady_clock::now();
        processor->process(data);
        const auto stop = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(buffers.output(0)[0]);
        return std::chrono::duration<double, std::micro>(stop - start).count();
    }
};

void idleAgainstBusy(benchmark::State& state)
{
    const auto block = static_cast<int32>(state.range(0));
    Instance busy(block);
    Instance idle(block);
    uint32_t seed = 1;
    idle.process(block, true, seed);
    for (int64_t frames = 0; frames < 2 * 69887; frames += block) // well past the tail
        idle.process(block, false, seed);
    double busyUs = 0.0;
    double idleUs = 0.0;
    for (auto _ : state)
    {
        busyUs += busy.process(block, true, seed);
        idleUs += idle.process(block, false, seed);
    }
    const double blocks = static_cast<double>(state.iterations());
    state.counters["busy_us_per_block"] = busyUs / blocks;
    state.counters["idle_us_per_block"] = idleUs / blocks;
    state.counters["idle_percent_of_busy"] = 100.0 * idleUs / busyUs;
}

} // namespace

BENCHMARK(idleAgainstBusy)->ArgName("block")->Arg(64)->Arg(256)->Arg(1024)->Unit(benchmark::kMicrosecond);
