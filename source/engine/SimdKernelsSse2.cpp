// Baseline kernels: one complex value per SSE2 register. Only intrinsics are used here, so no
// inline library code is instantiated with other instruction sets than the rest of the engine.
#include "engine/SimdKernels.h"
#include "engine/SimdScalarSteps.h"

#include <emmintrin.h>

namespace {

void difStageSse2(double* buf, int count, int halfSpan, const double* rr, const double* ri)
{
    for (int g = 0; g < count; g += 2 * halfSpan) {
        double* a = buf + 2 * g;
        double* b = a + 2 * halfSpan;
        for (int j = 0; j < 2 * halfSpan; j += 2) {
            const __m128d va = _mm_loadu_pd(a + j);
            const __m128d vb = _mm_loadu_pd(b + j);
            _mm_storeu_pd(a + j, _mm_add_pd(va, vb));
            const __m128d d = _mm_sub_pd(va, vb);
            const __m128d swapped = _mm_shuffle_pd(d, d, 1);
            const __m128d product = _mm_add_pd(_mm_mul_pd(d, _mm_loadu_pd(rr + j)),
                                               _mm_mul_pd(swapped, _mm_loadu_pd(ri + j)));
            _mm_storeu_pd(b + j, product);
        }
    }
}

void difLastStageSse2(double* buf, int count)
{
    for (int g = 0; g < 2 * count; g += 4) {
        const __m128d va = _mm_loadu_pd(buf + g);
        const __m128d vb = _mm_loadu_pd(buf + g + 2);
        _mm_storeu_pd(buf + g, _mm_add_pd(va, vb));
        _mm_storeu_pd(buf + g + 2, _mm_sub_pd(va, vb));
    }
}

void difFirstStageHalfZeroSse2(const double* in, double* out, int count, const double* rr, const double* ri)
{
    double* upper = out + count;   // count/2 complex values further on
    for (int j = 0; j < count; j += 2) {
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

void storeGroupSse2(const double* bins, double* re, double* im, long mirror)
{
    for (int half = 0; half < 4; half += 2) {
        const __m128d a = _mm_loadu_pd(bins + 2 * half), b = _mm_loadu_pd(bins + 2 * half + 2);
        const __m128d r = _mm_unpacklo_pd(a, b), i = _mm_unpackhi_pd(a, b);
        _mm_store_pd(re + half, r);
        _mm_store_pd(im + half, i);
        if (mirror != 0) {
            _mm_store_pd(re + mirror + half, r);
            _mm_store_pd(im + mirror + half, i);
        }
    }
}

void groupProductsSse2(const double* xr, const double* xi, const double* hr, const double* hi, int n,
                       double* sums)
{
    // Lanes 0-1 and 2-3 of the group in separate registers.
    __m128d rr0 = _mm_setzero_pd(), rr1 = rr0, ii0 = rr0, ii1 = rr0;
    __m128d ri0 = rr0, ri1 = rr0, ir0 = rr0, ir1 = rr0;
    for (int k = 0; k < n; ++k) {
        const int o = 4 * k;
        const __m128d xr0 = _mm_load_pd(xr + o), xr1 = _mm_load_pd(xr + o + 2);
        const __m128d xi0 = _mm_load_pd(xi + o), xi1 = _mm_load_pd(xi + o + 2);
        const __m128d hr0 = _mm_load_pd(hr + o), hr1 = _mm_load_pd(hr + o + 2);
        const __m128d hi0 = _mm_load_pd(hi + o), hi1 = _mm_load_pd(hi + o + 2);
        rr0 = _mm_add_pd(rr0, _mm_mul_pd(xr0, hr0));
        rr1 = _mm_add_pd(rr1, _mm_mul_pd(xr1, hr1));
        ii0 = _mm_add_pd(ii0, _mm_mul_pd(xi0, hi0));
        ii1 = _mm_add_pd(ii1, _mm_mul_pd(xi1, hi1));
        ri0 = _mm_add_pd(ri0, _mm_mul_pd(xr0, hi0));
        ri1 = _mm_add_pd(ri1, _mm_mul_pd(xr1, hi1));
        ir0 = _mm_add_pd(ir0, _mm_mul_pd(xi0, hr0));
        ir1 = _mm_add_pd(ir1, _mm_mul_pd(xi1, hr1));
    }
    _mm_storeu_pd(sums, rr0);
    _mm_storeu_pd(sums + 2, rr1);
    _mm_storeu_pd(sums + 4, ii0);
    _mm_storeu_pd(sums + 6, ii1);
    _mm_storeu_pd(sums + 8, ri0);
    _mm_storeu_pd(sums + 10, ri1);
    _mm_storeu_pd(sums + 12, ir0);
    _mm_storeu_pd(sums + 14, ir1);
}

void groupComplexSumsSse2(const double* xr, const double* xi, const double* hr, const double* hi, int n,
                          double* sums)
{
    double lanes[16];
    groupProductsSse2(xr, xi, hr, hi, n, lanes);
    for (int lane = 0; lane < 4; ++lane) {
        sums[2 * lane] = lanes[lane] - lanes[4 + lane];
        sums[2 * lane + 1] = lanes[8 + lane] + lanes[12 + lane];
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

const SimdKernels kBaseline = {difStageSse2,       difLastStageSse2,   difFirstStageHalfZeroSse2,
                               forwardSplitScalar, inverseSplitScalar, storeGroupSse2,
                               hyperbolicEnvelopeScalar, shapeResponseScalar,
                               groupProductsSse2,  groupComplexSumsSse2};
} // namespace

const SimdKernels& baselineKernels() { return kBaseline; }

const SimdKernels& selectKernels()
{
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        return avx2Kernels();
    return baselineKernels();
}
