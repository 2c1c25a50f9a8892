// The room effect as the host adapter drives it: CTessaline::processFrame for a stereo frame
// (smoothing step, input choice, four stages, two delays, gain) and each kind of control change
// through the ordinary set operation (bound variable written, controlChanged on all four stages).
#include "room/CTessaline.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr int kRate = 48000;

std::unique_ptr<CTessaline> makeEffect()
{
    std::unique_ptr<CTessaline> fx(static_cast<CTessaline*>(createPlugIn()));
    fx->postConstruct();
    fx->m_nSampleRate = kRate;
    fx->prepare();
    return fx;
}

std::vector<float> stereoInput(int frames)
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

// One audio second per iteration: the CPU time per iteration is the cost per audio second.
void BM_EffectProcessFrame(benchmark::State& state)
{
    std::unique_ptr<CTessaline> fx = makeEffect();
    fx->setControlPlain(CTessaline::kDecayType, static_cast<float>(state.range(0)));
    const std::vector<float> in = stereoInput(kRate);
    float out[2] = {0.0f, 0.0f};
    for (auto _ : state)
    {
        for (int n = 0; n < kRate; ++n)
            fx->processFrame(&in[2 * static_cast<size_t>(n)], out, 2, 2);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * kRate);
}
BENCHMARK(BM_EffectProcessFrame)->ArgName("curve")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// One control change per iteration, alternating between two values so every call does work;
// the counter gives its cost as a percentage of one 64-sample period at 48 kHz.
void BM_EffectControlChange(benchmark::State& state, uint32_t control, float a, float b, int curve)
{
    std::unique_ptr<CTessaline> fx = makeEffect();
    fx->setControlPlain(CTessaline::kDecayType, static_cast<float>(curve));
    bool flip = false;
    for (auto _ : state)
    {
        fx->setControlPlain(control, flip ? a : b);
        flip = !flip;
    }
    state.counters["pct_of_64_sample_period"] = benchmark::Counter(
        64.0 / kRate / 100.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(BM_EffectControlChange, position, CTessaline::kPosition, 3.0f, 8.0f, 1);
BENCHMARK_CAPTURE(BM_EffectControlChange, volume, CTessaline::kVolFB, 0.3f, 0.9f, 1);
BENCHMARK_CAPTURE(BM_EffectControlChange, absLR_hyperbolic, CTessaline::kAbsLR, 3.0f, 9.0f, 1);
BENCHMARK_CAPTURE(BM_EffectControlChange, absLR_exponential, CTessaline::kAbsLR, 3.0f, 9.0f, 0);
BENCHMARK_CAPTURE(BM_EffectControlChange, absFB_hyperbolic, CTessaline::kAbsFB, 3.0f, 9.0f, 1);
BENCHMARK_CAPTURE(BM_EffectControlChange, absFB_exponential, CTessaline::kAbsFB, 3.0f, 9.0f, 0);
BENCHMARK_CAPTURE(BM_EffectControlChange, absCF_hyperbolic, CTessaline::kAbsCF, 3.0f, 9.0f, 1);
BENCHMARK_CAPTURE(BM_EffectControlChange, absCF_exponential, CTessaline::kAbsCF, 3.0f, 9.0f, 0);
BENCHMARK_CAPTURE(BM_EffectControlChange, decayType, CTessaline::kDecayType, 0.0f, 1.0f, 1);

} // namespace
