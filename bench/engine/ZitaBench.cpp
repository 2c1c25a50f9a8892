// zita-convolver on the same job as the room engine: stereo input, one 69632-tap response per
// channel (the room's shaped left and right responses), 64-sample quanta. CPU time counts all
// threads of the process, zita's worker threads included.
#include "BenchRoom.h"

#include <benchmark/benchmark.h>
#include <zita-convolver.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <sched.h>
#include <vector>

namespace {

using namespace enginebench;

constexpr int kQuantum = 64;

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

struct ZitaRoom
{
    Convproc proc;
    bool ok = false;

    explicit ZitaRoom(StereoRoom& room)
    {
        // As a careful user runs it: measured FFTW plans, its vector multiply-accumulate, the
        // smallest partition equal to the host block, partitions up to 8192, density 0.5.
        proc.set_options(Convproc::OPT_FFTW_MEASURE | Convproc::OPT_VECTOR_MODE);
        if (proc.configure(2, 2, kResponseLength, kQuantum, kQuantum, 8192, 0.5f) != 0)
            return;
        for (int ear = 0; ear < 2; ++ear)
        {
            const std::vector<double> h = room.response(ear);
            std::vector<float> hf(h.begin(), h.end());
            proc.impdata_create(ear, ear, 1, hf.data(), 0, kResponseLength);
        }
        ok = proc.start_process(0, SCHED_OTHER) == 0;
    }
    ~ZitaRoom()
    {
        proc.stop_process();
        proc.cleanup(); // waits for the worker threads to finish
    }

    // One audio second of interleaved stereo input.
    void processSecond(const std::vector<double>& input, float* sink)
    {
        for (int base = 0; base + kQuantum <= kSampleRate; base += kQuantum)
        {
            float* left = proc.inpdata(0);
            float* right = proc.inpdata(1);
            for (int n = 0; n < kQuantum; ++n)
            {
                left[n] = static_cast<float>(input[2 * (base + n)]);
                right[n] = static_cast<float>(input[2 * (base + n) + 1]);
            }
            // Synchronous: each cycle waits for the partition levels due in it. Run flat out,
            // asynchronous workers would fall behind and zita would stop itself as late.
            proc.process(true);
            sink[0] += proc.outdata(0)[kQuantum - 1];
            sink[1] += proc.outdata(1)[kQuantum - 1];
        }
    }
};

void BM_ZitaAudioSecond(benchmark::State& state)
{
    StereoRoom room;
    ZitaRoom zita(room);
    if (!zita.ok)
    {
        state.SkipWithError("zita-convolver did not start");
        return;
    }
    const std::vector<double> input = stereoNoise(kSampleRate, 1);
    float sink[2] = {0.0f, 0.0f};
    for (auto _ : state)
        zita.processSecond(input, sink);
    benchmark::DoNotOptimize(sink);
}
BENCHMARK(BM_ZitaAudioSecond)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// Process CPU seconds per audio second of zita convolving `seconds` seconds of input. zita's
// larger partitions run on worker threads that may still be busy after process() returns, so
// the phase ends only when they have stopped: its shutdown is counted, its set-up is not.
// −1 when zita does not start.
double zitaPhase(StereoRoom& room, const std::vector<double>& input, int seconds, float* sink)
{
    auto zita = std::make_unique<ZitaRoom>(room);
    if (!zita->ok)
        return -1.0;
    const double t0 = processCpuSeconds();
    for (int s = 0; s < seconds; ++s)
        zita->processSecond(input, sink);
    zita.reset();
    return (processCpuSeconds() - t0) / seconds;
}

// The same for the room engine.
double ourPhase(StereoRoom& room, const std::vector<double>& input, int seconds, double* out)
{
    const double t0 = processCpuSeconds();
    for (int s = 0; s < seconds; ++s)
        for (int n = 0; n < kSampleRate; ++n)
            room.processFrame(&input[2 * n], out);
    return (processCpuSeconds() - t0) / seconds;
}

// Both on the same input in the same run: per iteration, a zita phase and then a phase of ours
// over the same kSeconds audio seconds. Counters: process CPU seconds per audio second of each
// and their ratio (zita / ours, higher is better).
void BM_RatioToZita(benchmark::State& state)
{
    constexpr int kSeconds = 5;
    StereoRoom room;
    const std::vector<double> input = stereoNoise(kSampleRate, 1);
    float sink[2] = {0.0f, 0.0f};
    double out[2] = {0.0, 0.0};
    double zitaSum = 0.0, ourSum = 0.0;
    double zitaBest = 1e9, ourBest = 1e9; // least disturbed phase of each, on a shared machine
    for (auto _ : state)
    {
        const double zita = zitaPhase(room, input, kSeconds, sink);
        if (zita < 0.0)
        {
            state.SkipWithError("zita-convolver did not start");
            return;
        }
        const double ours = ourPhase(room, input, kSeconds, out);
        benchmark::DoNotOptimize(out);
        zitaSum += zita;
        ourSum += ours;
        zitaBest = std::min(zitaBest, zita);
        ourBest = std::min(ourBest, ours);
    }
    benchmark::DoNotOptimize(sink);
    const double iterations = static_cast<double>(state.iterations());
    state.counters["zita_cpu_s_per_s"] = zitaSum / iterations;
    state.counters["ours_cpu_s_per_s"] = ourSum / iterations;
    state.counters["speed_ratio"] = ourSum > 0.0 ? zitaSum / ourSum : 0.0;
    state.counters["speed_ratio_best_phases"] = ourBest > 0.0 ? zitaBest / ourBest : 0.0;
}
BENCHMARK(BM_RatioToZita)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(6);

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0.0 : (n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]));
}

// The same comparison made robust against a shared machine's bursts: each iteration is one
// round of a short zita phase and a short phase of ours on the same kSeconds audio seconds, in
// alternating order so that slow drifts hit both alike; a burst spoils one round, and medians
// over the rounds ignore it. Counters: the median over rounds of each side's CPU seconds per
// audio second, the median of the rounds' ratios (zita / ours, higher is better) and the
// lowest and highest round ratio.
void BM_RatioToZitaRounds(benchmark::State& state)
{
    constexpr int kSeconds = 8;
    StereoRoom room;
    const std::vector<double> input = stereoNoise(kSampleRate, 1);
    float sink[2] = {0.0f, 0.0f};
    double out[2] = {0.0, 0.0};
    std::vector<double> zitaCost, ourCost, ratios;
    auto runZita = [&] { return zitaPhase(room, input, kSeconds, sink); };
    auto runOurs = [&] { return ourPhase(room, input, kSeconds, out); };
    for (auto _ : state)
    {
        const bool zitaFirst = ratios.size() % 2 == 0;
        const double first = zitaFirst ? runZita() : runOurs();
        const double second = zitaFirst ? runOurs() : runZita();
        const double zita = zitaFirst ? first : second, ours = zitaFirst ? second : first;
        if (zita < 0.0)
        {
            state.SkipWithError("zita-convolver did not start");
            return;
        }
        zitaCost.push_back(zita);
        ourCost.push_back(ours);
        ratios.push_back(ours > 0.0 ? zita / ours : 0.0);
    }
    benchmark::DoNotOptimize(sink);
    benchmark::DoNotOptimize(out);
    state.counters["zita_cpu_s_per_s_median"] = median(zitaCost);
    state.counters["ours_cpu_s_per_s_median"] = median(ourCost);
    state.counters["speed_ratio_median"] = median(ratios);
    state.counters["speed_ratio_lowest"] = *std::min_element(ratios.begin(), ratios.end());
    state.counters["speed_ratio_highest"] = *std::max_element(ratios.begin(), ratios.end());
}
BENCHMARK(BM_RatioToZitaRounds)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(21);

} // namespace
