// Cost of the room engine: the stereo frame, the heaviest single frame, and control changes.
#include "BenchRoom.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using namespace enginebench;

// Mean time per iteration as a percentage of one 64-sample period at 48 kHz (1333 us).
double percentOfPeriod(double totalSeconds, benchmark::IterationCount iterations)
{
    return iterations > 0 ? 100.0 * totalSeconds / static_cast<double>(iterations) / (64.0 / kSampleRate)
                          : 0.0;
}

// One audio second per iteration, so the time per iteration is the CPU cost per audio second.
void BM_StereoAudioSecond(benchmark::State& state)
{
    StereoRoom room(static_cast<int>(state.range(0)));
    const std::vector<double> input = stereoNoise(kSampleRate, 1);
    double out[2] = {0.0, 0.0};
    for (auto _ : state)
    {
        for (int n = 0; n < kSampleRate; ++n)
            room.processFrame(&input[2 * n], out);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * kSampleRate);
    state.counters["ns_per_frame"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kSampleRate,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_StereoAudioSecond)
    ->ArgName("curve")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

// The frame in which all four stages end a block (every 2048th): three transforms per stage.
void BM_WorstFrame(benchmark::State& state)
{
    StereoRoom room;
    const std::vector<double> input = stereoNoise(2048, 2);
    double out[2] = {0.0, 0.0};
    double total = 0.0;
    for (auto _ : state)
    {
        for (int n = 0; n < 2047; ++n)
            room.processFrame(&input[2 * n], out);
        const auto start = std::chrono::steady_clock::now();
        room.processFrame(&input[2 * 2047], out);
        const auto stop = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(out);
        const double seconds = std::chrono::duration<double>(stop - start).count();
        state.SetIterationTime(seconds);
        total += seconds;
    }
    state.counters["pct_of_64_sample_period"] = percentOfPeriod(total, state.iterations());
}
BENCHMARK(BM_WorstFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);

// One stage shape alone (c, P, region start) with its response settled, in `copies` stages
// (one ear each) that take 256-frame blocks in turn as a mix of rooms does: CPU per audio
// second and stage. One copy keeps its rings in cache; sixteen (eight stereo rooms) need not.
// What a layout of stages costs, shape by shape.
void BM_StageShape(benchmark::State& state)
{
    const int c = static_cast<int>(state.range(0)), partitions = static_cast<int>(state.range(1));
    const int start = static_cast<int>(state.range(2)), copies = static_cast<int>(state.range(3));
    std::vector<std::unique_ptr<CPartitionedConvolver>> stages;
    for (int i = 0; i < copies; ++i)
    {
        stages.push_back(std::make_unique<CPartitionedConvolver>(roomResponseBank(), 3, kSampleRate, i % 2,
                                                                 kResponseLength, partitions * c, c, start));
        stages.back()->setAllDecays(7.0, 7.0, 7.0, kSampleRate, 1);
        stages.back()->setVolumes(1.0, 1.0, 1.0);
    }
    const std::vector<double> input = stereoNoise(kSampleRate, 3);
    double sink = 0.0;
    auto second = [&] {
        for (int base = 0; base < kSampleRate; base += 256)
            for (auto& stage : stages)
                for (int n = base; n < base + 256; ++n)
                {
                    stage->processSample(input[2 * static_cast<std::size_t>(n)]);
                    sink += stage->output();
                }
    };
    second(); // past P + 2 blocks of the largest shapes: the responses settle
    second();
    for (auto _ : state)
        second();
    benchmark::DoNotOptimize(sink);
    state.counters["ms_per_audio_s_per_stage"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * copies / 1e3,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_StageShape)
    ->ArgNames({"c", "P", "start", "copies"})
    ->ArgsProduct({{128}, {32}, {0}, {1, 16}})
    ->ArgsProduct({{2048}, {32, 16, 8}, {4096}, {1, 16}})
    ->ArgsProduct({{4096}, {15}, {8192}, {1, 16}})
    ->ArgsProduct({{8192}, {6}, {20480}, {1, 16}})
    ->ArgsProduct({{8192}, {4}, {36864}, {1, 16}})
    ->ArgsProduct({{16384}, {2}, {36864}, {1, 16}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

enum Change
{
    kPosition,
    kVolume,
    kAbsFB,
    kAbsLR,
    kAbsCF,
    kDecayType
};

// One control change as the effect applies it: the same call on all four stages.
void applyChange(StereoRoom& room, Change change, int curve, int n)
{
    const auto stages = room.stages();
    const double abs = 1.0 + (n % 13);
    switch (change)
    {
    case kPosition:
        for (auto* s : stages)
            s->loadPosition(n % 11, kSampleRate);
        break;
    case kVolume:
        for (auto* s : stages)
            s->setVolumes(0.5, 0.25 + (n % 3) * 0.25, 1.0);
        break;
    case kAbsFB:
        for (auto* s : stages)
            s->setDecayFB(abs, kSampleRate, curve);
        break;
    case kAbsLR:
        for (auto* s : stages)
            s->setDecayLR(abs, kSampleRate, curve);
        break;
    case kAbsCF:
        for (auto* s : stages)
            s->setDecayCF(abs, kSampleRate, curve);
        break;
    case kDecayType:
        for (auto* s : stages)
            s->setDecayFB(abs, kSampleRate, curve);
        for (auto* s : stages)
            s->setDecayLR(abs, kSampleRate, curve);
        for (auto* s : stages)
            s->setDecayCF(abs, kSampleRate, curve);
        break;
    }
}

void BM_ControlChange(benchmark::State& state, Change change, int curve)
{
    StereoRoom room;
    int n = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        applyChange(room, change, curve, n++);
    const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["pct_of_64_sample_period"] = percentOfPeriod(total, state.iterations());
}
BENCHMARK_CAPTURE(BM_ControlChange, position, kPosition, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ControlChange, volume, kVolume, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ControlChange, absFB_exponential, kAbsFB, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ControlChange, absFB_hyperbolic, kAbsFB, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ControlChange, absLR_exponential, kAbsLR, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ControlChange, absLR_hyperbolic, kAbsLR, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ControlChange, absCF_exponential, kAbsCF, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ControlChange, absCF_hyperbolic, kAbsCF, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ControlChange, decayType_exponential, kDecayType, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ControlChange, decayType_hyperbolic, kDecayType, 1)->Unit(benchmark::kMicrosecond);

} // namespace
