// The engine's inner loops, compiled once for the x86-64 baseline (SSE2) and once for
// AVX2 + FMA; the best set the processor supports is chosen when an engine object is built,
// so that the audio thread only calls through plain function pointers.
#pragma once

struct SimdKernels
{
    // One radix-2 decimation-in-frequency stage over count interleaved complex values with
    // butterfly distance halfSpan (>= 2, even). rr[2j] = rr[2j+1] = Re w[j] and
    // ri[2j] = -Im w[j], ri[2j+1] = Im w[j] hold the stage's twiddles.
    void (*difStage)(double* buf, int count, int halfSpan, const double* rr, const double* ri);

    // The last stage (halfSpan 1, twiddle 1): sum and difference of neighbouring values.
    void (*difLastStage)(double* buf, int count);

    // Multiply-accumulate over n partitions for a group of four frequency bins stored as
    // [k][lane]: x* point at partition 0 of the input window, h* at partition 0 of the
    // responses. sums[0..3] = Σ xr·hr, sums[4..7] = Σ xi·hi, sums[8..11] = Σ xr·hi,
    // sums[12..15] = Σ xi·hr, per lane. A bin's complex sum is (rr − ii, ri + ir).
    void (*groupProducts)(const double* xr, const double* xi, const double* hr, const double* hi,
                          int n, double* sums);
};

// Baseline and AVX2 sets; the AVX2 set must only be used where the processor has AVX2 and FMA.
const SimdKernels& baselineKernels();
const SimdKernels& avx2Kernels();

// [main thread] The fastest set this processor runs. Reads the CPU features, takes no lock.
const SimdKernels& selectKernels();
