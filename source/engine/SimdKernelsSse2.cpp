// Baseline kernels: one complex value per SSE2 register. Only intrinsics are used here, so no
// inline library code is instantiated with other instruction sets than the rest of the engine.
#include "engine/SimdConversionKernels.h"
#include "engine/SimdKernels.h"
#include "engine/SimdScalarSteps.h"
#include "engine/SimdSingleKernels.h"

#include <emmintrin.h>

namespace {

void difStageSse2(double* buf, int count, int halfSpan, const double* rr, const double* ri)
{
    for (int g = 0; g < count; g += 2 * halfSpan)
    {
        double* a = buf + 2 * g;
        double* b = a + 2 * halfSpan;
        for (int j = 0; j < 2 * halfSpan; j += 2)
        {
            const __m128d va = _mm_loadu_pd(a + j);
            const __m128d vb = _mm_loadu_pd(b + j);
            _mm_storeu_pd(a + j, _mm_add_pd(va, vb));
            const __m128d d = _mm_sub_pd(va, vb);
            const __m128d swapped = _mm_shuffle_pd(d, d, 1);
            const __m128d product =
                _mm_add_pd(_mm_mul_pd(d, _mm_loadu_pd(rr + j)), _mm_mul_pd(swapped, _mm_loadu_pd(ri + j)));
            _mm_storeu_pd(b + j, product);
        }
    }
}

void difStagePairSse2(double* buf, int count, int halfSpan, const double* rr, const double* ri,
                      const double* rr2, const double* ri2)
{
    difStageSse2(buf, count, halfSpan, rr, ri);
    difStageSse2(buf, count, halfSpan / 2, rr2, ri2);
}

void difLastStageSse2(double* buf, int count)
{
    for (int g = 0; g < 2 * count; g += 4)
    {
        const __m128d va = _mm_loadu_pd(buf + g);
        const __m128d vb = _mm_loadu_pd(buf + g + 2);
        _mm_storeu_pd(buf + g, _mm_add_pd(va, vb));
        _mm_storeu_pd(buf + g + 2, _mm_sub_pd(va, vb));
    }
}

void difFirstStageHalfZeroSse2(const double* in, double* out, int count, const double* rr, const double* ri)
{
    double* upper = out + count; // count/2 complex values further on
    for (int j = 0; j < count; j += 2)
    {
        const __m128d a = _mm_loadu_pd(in + j);
        _mm_storeu_pd(out + j, a);
        const __m128d swapped = _mm_shuffle_pd(a, a, 1);
        _mm_storeu_pd(upper + j, _mm_add_pd(_mm_mul_pd(a, _mm_loadu_pd(rr + j)),
                                            _mm_mul_pd(swapped, _mm_loadu_pd(ri + j))));
    }
}

void forwardSplitScalar(const double* z, const int* rev, const double* w, int quarter, double* out)
{
    forwardSplitFrom(0, z, rev, w, quarter, out);
}

void inverseSplitScalar(const double* y, const double* w, int quarter, double* out)
{
    inverseSplitFrom(0, y, w, quarter, out);
}

void splitBinsSse2(const double* bins, int count, double* re, double* im)
{
    int b = 0;
    for (; b + 2 <= count; b += 2)
    {
        const __m128d lo = _mm_loadu_pd(bins + 2 * b), hi = _mm_loadu_pd(bins + 2 * b + 2);
        _mm_store_pd(re + b, _mm_unpacklo_pd(lo, hi));
        _mm_store_pd(im + b, _mm_unpackhi_pd(lo, hi));
    }
    splitBinsFrom(b, bins, count, re, im);
}

// Four bins per step in two registers for each of the real and imaginary sums.
void spectrumProductsSse2(const double* const* x, const double* const* h, int partitions, long offset,
                          long imOffset, int count, double* out)
{
    int i = 0;
    for (; i + 4 <= count; i += 4)
    {
        const long b = offset + i;
        __m128d re0 = _mm_setzero_pd(), re1 = re0, im0 = re0, im1 = re0;
        for (int k = 0; k < partitions; ++k)
        {
            const double* xr = x[k] + b;
            const double* hr = h[k] + b;
            const __m128d xr0 = _mm_load_pd(xr), xr1 = _mm_load_pd(xr + 2);
            const __m128d xi0 = _mm_load_pd(xr + imOffset), xi1 = _mm_load_pd(xr + imOffset + 2);
            const __m128d hr0 = _mm_load_pd(hr), hr1 = _mm_load_pd(hr + 2);
            const __m128d hi0 = _mm_load_pd(hr + imOffset), hi1 = _mm_load_pd(hr + imOffset + 2);
            re0 = _mm_add_pd(re0, _mm_sub_pd(_mm_mul_pd(xr0, hr0), _mm_mul_pd(xi0, hi0)));
            re1 = _mm_add_pd(re1, _mm_sub_pd(_mm_mul_pd(xr1, hr1), _mm_mul_pd(xi1, hi1)));
            im0 = _mm_add_pd(im0, _mm_add_pd(_mm_mul_pd(xr0, hi0), _mm_mul_pd(xi0, hr0)));
            im1 = _mm_add_pd(im1, _mm_add_pd(_mm_mul_pd(xr1, hi1), _mm_mul_pd(xi1, hr1)));
        }
        double* o = out + 2 * i;
        _mm_storeu_pd(o, _mm_unpacklo_pd(re0, im0));
        _mm_storeu_pd(o + 2, _mm_unpackhi_pd(re0, im0));
        _mm_storeu_pd(o + 4, _mm_unpacklo_pd(re1, im1));
        _mm_storeu_pd(o + 6, _mm_unpackhi_pd(re1, im1));
    }
    spectrumProductsFrom(i, x, h, partitions, offset, imOffset, count, out);
}

// The two sums one after the other: the baseline set reads the spectra twice.
void spectrumProductPairsSse2(const double* const* x, const double* const* h, int partitions, long offset,
                              long imOffset, int count, double* now, double* next)
{
    spectrumProductsSse2(x, h, partitions, offset, imOffset, count, now);
    if (partitions > 1)
    {
        spectrumProductsSse2(x, h + 1, partitions - 1, offset, imOffset, count, next);
    }
    else
    {
        for (int i = 0; i < count; ++i)
            next[2 * i] = next[2 * i + 1] = 0.0;
    }
}

void hyperbolicEnvelopeScalar(int first, double fs, double rate, int count, double* out)
{
    hyperbolicEnvelopeFrom(0, first, fs, rate, count, out);
}

void shapeResponseScalar(const double* const* env, const double* const* table, const double* vol,
                         bool subtractLR, int count, double* out)
{
    shapeResponseFrom(0, env, table, vol, subtractLR, count, out);
}

const SimdKernels kBaseline = {difStageSse2,
                               difStagePairSse2,
                               difLastStageSse2,
                               difFirstStageHalfZeroSse2,
                               forwardSplitScalar,
                               inverseSplitScalar,
                               splitBinsSse2,
                               hyperbolicEnvelopeScalar,
                               shapeResponseScalar,
                               spectrumProductsSse2,
                               spectrumProductPairsSse2,
                               singleSplitBins,
                               singleSpectrumProducts,
                               singleSpectrumProductPairs,
                               narrowSamplesLoop,
                               widenOverlapAddLoop,
                               splitSingleBinsLoop};
} // namespace

const SimdKernels& baselineKernels() { return kBaseline; }

const SimdKernels& selectKernels()
{
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq"))
        return avx512Kernels();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        return avx2Kernels();
    return baselineKernels();
}
