// The convolver stage's two transforms, ours against FFTW's, as a stage calls them at a block
// end. Forward: c samples zero-padded to 2c points into bins 0 … c (ours: forwardHalfPadded,
// whose first butterfly stage knows the upper half is zero; FFTW: the samples copied into the
// lower half of a zeroed 2c buffer, then a real-to-complex plan). Inverse: bins 0 … c back
// into 2c samples, scaled and overlap-added into the output block as endBlock does (ours:
// inverseHalfBitReversed read through the bit reversal; FFTW: the bins copied into the plan's
// input, which a complex-to-real plan overwrites, then the plan). FFTW's plans are made once
// with the given planner flag on 64-byte aligned buffers and run through the new-array calls,
// as a stage would run one plan on its own buffers. copy:0 leaves out FFTW's copy: what a
// stage pays that gathers its blocks into zero-padded buffers and lets the inverse overwrite
// the summed spectrum (which the next block's sum rewrites anyway). The FftwFloat cases run the
// same two transforms in single precision (measured plans, with the copies), the precision
// every peer's transforms use, to show what float transforms would be worth. The Single cases
// run the single-precision stage's own transforms (CSingleTransforms: FFTW's estimated float
// plans, the samples narrowed on the way in, the bins on the way back) with its overlap-add.
#include "engine/AlignedArray.h"
#include "engine/CSingleTransforms.h"
#include "engine/RFFT.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <complex>
#include <cstring>
#include <random>

namespace {

using Complex = std::complex<double>;

void fillNoise(double* x, int count, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    for (int i = 0; i < count; ++i)
        x[i] = d(rng);
}

// planner 0: FFTW_MEASURE, 1: FFTW_PATIENT, 2: FFTW_ESTIMATE (the same plan on every run).
unsigned plannerFlag(int64_t which)
{
    return which == 0 ? FFTW_MEASURE : which == 1 ? FFTW_PATIENT : FFTW_ESTIMATE;
}

// The overlap-add a stage's inverse ends with: the first half of the 2c scaled samples plus the
// previous block's tail, the second half kept as the next block's tail.
template <class T>
void overlapAdd(const T* t, T scale, int c, T* o)
{
    for (int n = 0; n < c; ++n)
        o[n] = t[n] * scale + o[c + n];
    for (int n = c; n < 2 * c; ++n)
        o[n] = t[n] * scale;
}

void BM_OursForward(benchmark::State& state)
{
    const int c = static_cast<int>(state.range(0));
    ARFFT fft(2 * c);
    AlignedArray<double> block(c);
    fillNoise(block.get(), c, 1);
    for (auto _ : state)
    {
        fft.forwardHalfPadded(block.get());
        benchmark::DoNotOptimize(fft.spectrum);
        benchmark::ClobberMemory();
    }
}

void BM_FftwForward(benchmark::State& state)
{
    const int c = static_cast<int>(state.range(0));
    AlignedArray<double> block(c);
    AlignedArray<double> padded(2 * c); // upper half stays zero: the plan preserves its input
    AlignedArray<Complex> bins(c + 1);
    fillNoise(block.get(), c, 1);
    const fftw_plan plan = fftw_plan_dft_r2c_1d(
        2 * c, padded.get(), reinterpret_cast<fftw_complex*>(bins.get()), plannerFlag(state.range(1)));
    for (auto _ : state)
    {
        if (state.range(2) != 0)
            std::memcpy(padded.get(), block.get(), sizeof(double) * c);
        fftw_execute_dft_r2c(plan, padded.get(), reinterpret_cast<fftw_complex*>(bins.get()));
        benchmark::DoNotOptimize(bins.get());
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
}

void BM_OursInverse(benchmark::State& state)
{
    const int c = static_cast<int>(state.range(0));
    BRFFT fft(2 * c);
    AlignedArray<Complex> bins(c + 1);
    fillNoise(reinterpret_cast<double*>(bins.get()), 2 * (c + 1), 2);
    bins[0] = Complex(bins[0].real(), 0.0);
    bins[c] = Complex(bins[c].real(), 0.0);
    AlignedArray<double> out(2 * c);
    const int* rev = fft.bitReversedIndex();
    const double scale = 1.0 / c;
    for (auto _ : state)
    {
        const Complex* z = fft.inverseHalfBitReversed(bins.get());
        double* o = out.get();
        for (int n = 0; n < c / 2; ++n)
        {
            const Complex v = z[rev[n]];
            o[2 * n] = v.real() * scale + o[c + 2 * n];
            o[2 * n + 1] = v.imag() * scale + o[c + 2 * n + 1];
        }
        for (int n = c / 2; n < c; ++n)
        {
            const Complex v = z[rev[n]];
            o[2 * n] = v.real() * scale;
            o[2 * n + 1] = v.imag() * scale;
        }
        benchmark::DoNotOptimize(o);
        benchmark::ClobberMemory();
    }
}

void BM_FftwInverse(benchmark::State& state)
{
    const int c = static_cast<int>(state.range(0));
    AlignedArray<Complex> bins(c + 1);
    AlignedArray<Complex> work(c + 1);
    AlignedArray<double> time(2 * c);
    AlignedArray<double> out(2 * c);
    fillNoise(reinterpret_cast<double*>(bins.get()), 2 * (c + 1), 2);
    const fftw_plan plan = fftw_plan_dft_c2r_1d(2 * c, reinterpret_cast<fftw_complex*>(work.get()),
                                                time.get(), plannerFlag(state.range(1)));
    const double scale = 0.5 / c;
    for (auto _ : state)
    {
        if (state.range(2) != 0)
            std::memcpy(static_cast<void*>(work.get()), bins.get(), sizeof(Complex) * (c + 1));
        fftw_execute_dft_c2r(plan, reinterpret_cast<fftw_complex*>(work.get()), time.get());
        overlapAdd(time.get(), scale, c, out.get());
        benchmark::DoNotOptimize(out.get());
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
}

void BM_FftwFloatForward(benchmark::State& state)
{
    const int c = static_cast<int>(state.range(0));
    AlignedArray<float> block(c);
    AlignedArray<float> padded(2 * c);
    AlignedArray<std::complex<float>> bins(c + 1);
    for (int i = 0; i < c; ++i)
        block[static_cast<std::size_t>(i)] = static_cast<float>((i * 7919 % 2001) - 1000) / 1000.0f;
    const fftwf_plan plan = fftwf_plan_dft_r2c_1d(2 * c, padded.get(),
                                                  reinterpret_cast<fftwf_complex*>(bins.get()), FFTW_MEASURE);
    for (auto _ : state)
    {
        std::memcpy(padded.get(), block.get(), sizeof(float) * static_cast<std::size_t>(c));
        fftwf_execute_dft_r2c(plan, padded.get(), reinterpret_cast<fftwf_complex*>(bins.get()));
        benchmark::DoNotOptimize(bins.get());
        benchmark::ClobberMemory();
    }
    fftwf_destroy_plan(plan);
}

void BM_FftwFloatInverse(benchmark::State& state)
{
    const int c = static_cast<int>(state.range(0));
    AlignedArray<std::complex<float>> bins(c + 1);
    AlignedArray<std::complex<float>> work(c + 1);
    AlignedArray<float> time(2 * c);
    AlignedArray<float> out(2 * c);
    for (int i = 0; i <= c; ++i)
        bins[static_cast<std::size_t>(i)] =
            std::complex<float>(static_cast<float>(i % 13), static_cast<float>(i % 7));
    const fftwf_plan plan =
        fftwf_plan_dft_c2r_1d(2 * c, reinterpret_cast<fftwf_complex*>(work.get()), time.get(), FFTW_MEASURE);
    const float scale = 0.5f / static_cast<float>(c);
    for (auto _ : state)
    {
        std::memcpy(static_cast<void*>(work.get()), bins.get(),
                    sizeof(std::complex<float>) * static_cast<std::size_t>(c + 1));
        fftwf_execute_dft_c2r(plan, reinterpret_cast<fftwf_complex*>(work.get()), time.get());
        overlapAdd(time.get(), scale, c, out.get());
        benchmark::DoNotOptimize(out.get());
        benchmark::ClobberMemory();
    }
    fftwf_destroy_plan(plan);
}

void BM_SingleForward(benchmark::State& state)
{
    const int c = static_cast<int>(state.range(0));
    CSingleTransforms fft(2 * c);
    AlignedArray<double> block(c);
    fillNoise(block.get(), c, 1);
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(fft.forwardPadded(block.get()));
        benchmark::ClobberMemory();
    }
}

void BM_SingleInverse(benchmark::State& state)
{
    const int c = static_cast<int>(state.range(0));
    CSingleTransforms fft(2 * c);
    AlignedArray<Complex> bins(c + 1);
    AlignedArray<double> out(2 * c);
    fillNoise(reinterpret_cast<double*>(bins.get()), 2 * (c + 1), 2);
    const double scale = 0.5 / c;
    for (auto _ : state)
    {
        const float* t = fft.inverse(bins.get());
        for (int n = 0; n < c; ++n)
            out[n] = static_cast<double>(t[n]) * scale + out[c + n];
        for (int n = c; n < 2 * c; ++n)
            out[n] = static_cast<double>(t[n]) * scale;
        benchmark::DoNotOptimize(out.get());
        benchmark::ClobberMemory();
    }
}

// c = 128 and 2048 are the room's two stages; 8192 a long tail stage's size.
BENCHMARK(BM_OursForward)->ArgName("c")->Arg(128)->Arg(2048)->Arg(8192);
BENCHMARK(BM_FftwForward)
    ->ArgNames({"c", "planner", "copy"})
    ->ArgsProduct({{128, 2048, 8192}, {0, 1, 2}, {1, 0}});
BENCHMARK(BM_OursInverse)->ArgName("c")->Arg(128)->Arg(2048)->Arg(8192);
BENCHMARK(BM_FftwInverse)
    ->ArgNames({"c", "planner", "copy"})
    ->ArgsProduct({{128, 2048, 8192}, {0, 1, 2}, {1, 0}});
BENCHMARK(BM_FftwFloatForward)->ArgName("c")->Arg(128)->Arg(2048)->Arg(8192);
BENCHMARK(BM_FftwFloatInverse)->ArgName("c")->Arg(128)->Arg(2048)->Arg(8192);
BENCHMARK(BM_SingleForward)->ArgName("c")->Arg(128)->Arg(2048)->Arg(8192);
BENCHMARK(BM_SingleInverse)->ArgName("c")->Arg(128)->Arg(2048)->Arg(8192);

} // namespace
