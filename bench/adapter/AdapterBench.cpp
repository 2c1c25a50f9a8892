// Cost of Processor::process per block with the room effect at 48 kHz: mean and worst block,
// with and without parameter changes (gain and an absorption) in every block.
#include "adapter/processor/Processor.h"

#include "HostAudioBuffers.h"
#include "HostParameterChanges.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Steinberg::Vst::Vava2DUZ3;

namespace {
void processBlocks(benchmark::State& state)
{
    const auto block = static_cast<int32>(state.range(0));
    const bool withChanges = state.range(1) != 0;
    Processor* processor = new Processor();
    processor->initialize(nullptr);
    ProcessSetup setup{kRealtime, kSample32, block, 48000.0};
    processor->setupProcessing(setup);
    processor->setActive(true);
    TessalineHost::HostAudioBuffers buffers(2, 2, block);
    TessalineHost::HostParameterChanges changes(4, 4);
    for (int32 i = 0; i < block; ++i)
    {
        buffers.input(0)[i] = std::sin(0.01f * static_cast<float>(i));
        buffers.input(1)[i] = std::cos(0.013f * static_cast<float>(i));
    }
    double worst = 0.0;
    uint32_t n = 0;
    for (auto _ : state)
    {
        changes.clear();
        if (withChanges)
        {
            changes.addChange(0, 0, 0.3 + 0.4 * ((n % 64) / 63.0)); // Gain
            changes.addChange(3, block / 2, (n % 100) / 99.0);      // Abs L-R
        }
        ++n;
        ProcessData& data = buffers.prepare(block);
        data.inputParameterChanges = &changes;
        const auto start = std::chrono::steady_clock::now();
        processor->process(data);
        const auto stop = std::chrono::steady_clock::now();
        worst = std::max(worst, std::chrono::duration<double, std::micro>(stop - start).count());
        benchmark::DoNotOptimize(buffers.output(0)[0]);
    }
    state.counters["worst_block_us"] = worst;
    state.counters["block_budget_us"] = 1e6 * block / 48000.0;
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * block);
    processor->setActive(false);
    processor->terminate();
    processor->release();
}
} // namespace

BENCHMARK(processBlocks)
    ->ArgNames({"block", "changes"})
    ->ArgsProduct({{64, 256, 1024}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);
