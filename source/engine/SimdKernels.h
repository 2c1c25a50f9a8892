// The engine's inner loops, compiled for the x86-64 baseline (SSE2), for AVX2 + FMA and (the
// multiply-accumulate) for AVX-512; the best set the processor supports is chosen when an
// engine object is built, so that the audio thread only calls through plain function pointers.
#pragma once

struct SimdKernels
{
    // One radix-2 decimation-in-frequency stage over count interleaved complex values with
    // butterfly distance halfSpan (>= 2, even). rr[2j] = rr[2j+1] = Re w[j] and
    // ri[2j] = -Im w[j], ri[2j+1] = Im w[j] hold the stage's twiddles.
    void (*difStage)(double* buf, int count, int halfSpan, const double* rr, const double* ri);

    // Two consecutive stages in one pass: halfSpan (>= 4) with twiddles rr, ri, then halfSpan/2
    // with rr2, ri2; the same operations as two difStage calls, so the same results, but the
    // buffer goes through the registers once instead of twice.
    void (*difStagePair)(double* buf, int count, int halfSpan, const double* rr, const double* ri,
                         const double* rr2, const double* ri2);

    // The last stage (halfSpan 1, twiddle 1): sum and difference of neighbouring values.
    void (*difLastStage)(double* buf, int count);

    // The first stage (halfSpan = count/2) for input whose upper half is zero: with b = 0 the
    // butterfly gives a + b = a and (a − b)·w = a·w, so only count/2 values are read, from in,
    // and out[j] = in[j], out[j + count/2] = in[j]·w[j]. Twiddles as for difStage.
    void (*difFirstStageHalfZero)(const double* in, double* out, int count, const double* rr,
                                  const double* ri);

    // Split step of the forward real transform of N = 4·quarter points over bins k = 0 … N/4:
    // Z[k] is z[rev[k]] (the complex transform's bit-reversed output, rev[N/2] = rev[0]), w the
    // twiddles w[j] = exp(−i·2π·j/N), and out[k] = ½(A + B* − w[k]·i·(A − B*)),
    // out[N/2 − k] = ½(B + A* − w[N/2 − k]·i·(B − A*)) with A = Z[k], B = Z[N/2 − k].
    void (*forwardSplit)(const double* z, const int* rev, const double* w, int quarter, double* out);

    // Split step of the inverse real transform, bins k = 0 … N/4 of y into out (not in place):
    // out[k] = ½(A + B* + conj(w[k])·i·(A − B*)), out[N/2 − k] likewise with A, B swapped and
    // w[N/2 − k], where A = y[k], B = y[N/2 − k].
    void (*inverseSplit)(const double* y, const double* w, int quarter, double* out);

    // Interleaved complex bins into split rows: re[b] = bins[2b], im[b] = bins[2b + 1] for
    // b < count; re and im 64-byte aligned.
    void (*splitBins)(const double* bins, int count, double* re, double* im);

    // Hyperbolic decay envelope over count indices from first: out[k] = fs / ((first + k)·rate + fs).
    void (*hyperbolicEnvelope)(int first, double fs, double rate, int count, double* out);

    // One run of the shaped response from envelopes env[0..2] and tables table[0..2] (FB, LR,
    // CF) with volumes vol[0..2]: out[k] = ((envFB·volFB)·FB ± (envLR·volLR)·LR) + (envCF·volCF)·CF,
    // the LR product subtracted when subtractLR.
    void (*shapeResponse)(const double* const* env, const double* const* table, const double* vol,
                          bool subtractLR, int count, double* out);

    // Multiply-accumulate of a frequency-domain delay line over count bins: out[2i] + i·out[2i + 1]
    // = Σₖ X·H (complex, k < partitions) with X = (x[k][offset + i], x[k][offset + imOffset + i])
    // and H likewise from h[k]. Every x[k] + offset and h[k] + offset is 64-byte aligned.
    void (*spectrumProducts)(const double* const* x, const double* const* h, int partitions, long offset,
                             long imOffset, int count, double* out);
    // Two blocks' sums from one pass over the spectra: now as spectrumProducts over all
    // partitions, and next[i] = Σₖ x[k]·h[k + 1] over k < partitions − 1 (zero for one
    // partition) — the input window paired with the responses one partition further on.
    void (*spectrumProductPairs)(const double* const* x, const double* const* h, int partitions, long offset,
                                 long imOffset, int count, double* now, double* next);

    // The same three for spectra kept in single precision: bins rounded into float rows, and
    // sums of float products (in float) handed out as doubles.
    void (*splitBinsSingle)(const double* bins, int count, float* re, float* im);
    void (*spectrumProductsSingle)(const float* const* x, const float* const* h, int partitions, long offset,
                                   long imOffset, int count, double* out);
    void (*spectrumProductPairsSingle)(const float* const* x, const float* const* h, int partitions,
                                       long offset, long imOffset, int count, double* now, double* next);

    // Around the single-precision transforms (SimdConversionKernels.h): out[i] = (float) in[i]
    // for i < count; the inverse's 2c floats y scaled by a power of two into the output block and
    // overlap-added, out[n] = y[n]·scale + out[c + n] for n < c, then out[c + n] = y[c + n]·scale
    // (the products exact, so every set gives the same bits); and bins of
    // interleaved floats split into rows, re[b] = bins[2b], im[b] = bins[2b + 1] for b < count.
    void (*narrowSamples)(const double* in, int count, float* out);
    void (*widenOverlapAdd)(const float* y, int c, double scale, double* out);
    void (*splitSingleBins)(const float* bins, int count, float* re, float* im);
};

// Baseline, AVX2 and AVX-512 sets; the AVX2 set must only be used where the processor has AVX2
// and FMA, the AVX-512 set only where it also has AVX-512 F and DQ.
const SimdKernels& baselineKernels();
const SimdKernels& avx2Kernels();
const SimdKernels& avx512Kernels();

// [main thread] The fastest set this processor runs. Reads the CPU features, takes no lock.
const SimdKernels& selectKernels();
