// Cost of the bypass switch per 64-frame block at 48 kHz: the worst block of a cycle of room,
// switch on (fade), `bypassed` blocks (the room emptied a piece per block), switch off (fade),
// beside the worst block of the room running alone in the same run, in the thread's processor
// time. With 1 bypassed block the
// emptying is not done when the bypass ends, and the switching block does the rest at once.
#include "adapter/processor/Processor.h"

#include "HostAudioBuffers.h"
#include "HostParameterChanges.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <ctime>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Steinberg::Vst::Vava2DUZ3;

namespace {
double threadMicroseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) * 1e-3;
}

void bypassSwitching(benchmark::State& state)
{
    const int32 block = 64;
    const auto bypassed = static_cast<uint32_t>(state.range(0));
    Processor* processor = new Processor();
    processor->initialize(nullptr);
    ProcessSetup setup{kRealtime, kSample32, block, 48000.0};
    processor->setupProcessing(setup);
    processor->setActive(true);
    TessalineHost::HostAudioBuffers buffers(2, 2, block);
    TessalineHost::HostParameterChanges changes(4, 4);
    uint32_t noise = 1;
    const uint32_t room = 100; // blocks of room between bypasses
    const uint32_t cycle = room + bypassed;
    double worstRoom = 0.0, worstSwitching = 0.0, worstBypassed = 0.0;
    uint32_t n = 0;
    for (auto _ : state)
    {
        const uint32_t at = n % cycle;
        changes.clear();
        if (at == room)
            changes.addChange(kParamBypass, 17, 1.0);
        if (at == 0 && n > 0)
            changes.addChange(kParamBypass, 17, 0.0);
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < block; ++i)
            {
                noise = noise * 1664525u + 1013904223u;
                buffers.input(c)[i] = static_cast<float>(noise >> 8) / 16777216.0f - 0.5f;
            }
        ProcessData& data = buffers.prepare(block);
        data.inputParameterChanges = &changes;
        // The thread's own processor time: other programs on a busy machine do not count.
        const double started = threadMicroseconds();
        processor->process(data);
        const double us = threadMicroseconds() - started;
        // Switching: the switch's block and the fade (5 ms: four blocks) after it.
        if (n > 0 && (at < 5 || (at >= room && at < room + 5)))
            worstSwitching = std::max(worstSwitching, us);
        else if (at >= room)
            worstBypassed = std::max(worstBypassed, us);
        else if (n > cycle) // past the first filling of the room
            worstRoom = std::max(worstRoom, us);
        benchmark::DoNotOptimize(buffers.output(0)[0]);
        ++n;
    }
    state.counters["worst_room_us"] = worstRoom;
    state.counters["worst_switching_us"] = worstSwitching;
    state.counters["worst_bypassed_us"] = worstBypassed;
    state.counters["block_budget_us"] = 1e6 * block / 48000.0;
    processor->setActive(false);
    processor->terminate();
    processor->release();
}
} // namespace

BENCHMARK(bypassSwitching)
    ->ArgName("bypassed")
    ->Arg(1)
    ->Arg(2)
    ->Arg(100)
    ->Iterations(20000)
    ->Unit(benchmark::kMicrosecond);
