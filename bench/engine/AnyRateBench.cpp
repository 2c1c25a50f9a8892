// The rate-true room beside the original at 44.1, 48, 96 and 192 kHz, and zita-convolver with the
// rate-true room's response at each rate: CPU time per audio second (one audio second per
// iteration). The rate-true room's counters give the memory of the resampled bank at that rate.
// Timings on a shared machine are noisy; AnyRateProfile.cpp gives repeatable instruction counts.
#include "room/CTessaline.h"
#include "room/CTessalineAnyRate.h"
#include "room/ResampledBank.h"

#include <benchmark/benchmark.h>
#include <zita-convolver.h>

#include <cstdint>
#include <memory>
#include <sched.h>
#include <vector>

namespace {

std::unique_ptr<CTessaline> makeRoom(bool anyRate, int rate)
{
    std::unique_ptr<CTessaline> fx(anyRate ? static_cast<CTessaline*>(createAnyRatePlugIn())
                                           : static_cast<CTessaline*>(createPlugIn()));
    fx->postConstruct();
    fx->m_nSampleRate = rate;
    fx->prepare();
    return fx;
}

std::vector<float> stereoNoise(int frames)
{
    std::vector<float> in(2 * static_cast<size_t>(frames));
    uint32_t seed = 12345u;
    for (float& x : in)
    {
        seed = seed * 1664525u + 1013904223u;
        x = static_cast<float>(static_cast<int32_t>(seed)) * (0.5f / 2147483648.0f);
    }
    return in;
}

void BM_RoomAudioSecond(benchmark::State& state)
{
    const bool anyRate = state.range(0) != 0;
    const auto rate = static_cast<int>(state.range(1));
    std::unique_ptr<CTessaline> fx = makeRoom(anyRate, rate);
    const std::vector<float> in = stereoNoise(rate);
    float out[2] = {0.0f, 0.0f};
    for (auto _ : state)
    {
        for (int n = 0; n < rate; ++n)
            fx->processFrame(&in[2 * static_cast<size_t>(n)], out, 2, 2);
        benchmark::DoNotOptimize(out);
    }
    if (anyRate)
    {
        const CRoomLayout layout = roomLayoutAt(rate);
        const bool resampled = layout.nTableRate != 44100;
        state.counters["bank_MB"] = resampled ? 33.0 * layout.nResponseLength * sizeof(double) / 1.0e6 : 0.0;
    }
}
BENCHMARK(BM_RoomAudioSecond)
    ->ArgNames({"anyrate", "rate"})
    ->ArgsProduct({{0, 1}, {44100, 48000, 96000, 192000}})
    ->Unit(benchmark::kMillisecond);

// zita-convolver as a careful user runs it (measured plans, vector mode, 64-sample quanta,
// partitions up to 8192 scaled with the rate), on the rate-true room's stereo response at the rate.
void BM_ZitaAnyRateResponse(benchmark::State& state)
{
    const auto rate = static_cast<int>(state.range(0));
    std::unique_ptr<CTessaline> fx = makeRoom(true, rate);
    const auto length = static_cast<int>(fx->m_fTailTimeMs / 1000.0f * static_cast<float>(rate));
    std::vector<float> left(static_cast<size_t>(length)), right(left.size());
    for (int n = 0; n < length; ++n)
    {
        const float frame[2] = {n == 0 ? 1.0f : 0.0f, n == 0 ? 1.0f : 0.0f};
        float out[2];
        fx->processFrame(frame, out, 2, 2);
        left[static_cast<size_t>(n)] = out[0];
        right[static_cast<size_t>(n)] = out[1];
    }
    constexpr int kQuantum = 64;
    const int maxPart = rate > 100000 ? Convproc::MAXPART : 8192;
    Convproc proc;
    proc.set_options(Convproc::OPT_FFTW_MEASURE | Convproc::OPT_VECTOR_MODE);
    if (proc.configure(2, 2, static_cast<unsigned>(length), kQuantum, kQuantum,
                       static_cast<unsigned>(maxPart), 0.5f)
        != 0)
    {
        state.SkipWithError("zita-convolver refused the configuration");
        return;
    }
    proc.impdata_create(0, 0, 1, left.data(), 0, length);
    proc.impdata_create(1, 1, 1, right.data(), 0, length);
    if (proc.start_process(0, SCHED_OTHER) != 0)
    {
        state.SkipWithError("zita-convolver did not start");
        return;
    }
    const std::vector<float> in = stereoNoise(rate);
    float sink = 0.0f;
    for (auto _ : state)
    {
        for (int base = 0; base + kQuantum <= rate; base += kQuantum)
        {
            for (int n = 0; n < kQuantum; ++n)
            {
                proc.inpdata(0)[n] = in[2 * static_cast<size_t>(base + n)];
                proc.inpdata(1)[n] = in[2 * static_cast<size_t>(base + n) + 1];
            }
            proc.process(true);
            sink += proc.outdata(0)[kQuantum - 1];
        }
    }
    benchmark::DoNotOptimize(sink);
    proc.stop_process();
    proc.cleanup();
}
BENCHMARK(BM_ZitaAnyRateResponse)
    ->ArgName("rate")
    ->Arg(44100)
    ->Arg(48000)
    ->Arg(96000)
    ->Arg(192000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

} // namespace
