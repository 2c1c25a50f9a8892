// AVX2 + FMA kernels: two complex values or four real lanes per register. This file alone is
// compiled with -mavx2 -mfma and uses intrinsics only, so no inline library code built for
// AVX2 can leak into code that runs on processors without it.
#include "engine/SimdKernels.h"

#include <immintrin.h>

namespace {

void difStageAvx2(double* buf, int count, int halfSpan, const double* rr, const double* ri)
{
    for (int g = 0; g < count; g += 2 * halfSpan) {
        double* a = buf + 2 * g;
        double* b = a + 2 * halfSpan;
        for (int j = 0; j < 2 * halfSpan; j += 4) {
            const __m256d va = _mm256_loadu_pd(a + j);
            const __m256d vb = _mm256_loadu_pd(b + j);
            _mm256_storeu_pd(a + j, _mm256_add_pd(va, vb));
            const __m256d d = _mm256_sub_pd(va, vb);
            const __m256d swapped = _mm256_permute_pd(d, 0x5);
            const __m256d product = _mm256_fmadd_pd(d, _mm256_loadu_pd(rr + j),
                                                    _mm256_mul_pd(swapped, _mm256_loadu_pd(ri + j)));
            _mm256_storeu_pd(b + j, product);
        }
    }
}

void difLastStageAvx2(double* buf, int count)
{
    // Each register holds one butterfly (a, b); the results are (a + b, a - b).
    for (int g = 0; g < 2 * count; g += 4) {
        const __m256d v = _mm256_loadu_pd(buf + g);
        const __m256d swapped = _mm256_permute2f128_pd(v, v, 0x01);   // (b, a)
        const __m256d sum = _mm256_add_pd(v, swapped);                 // (a + b, a + b)
        const __m256d diff = _mm256_sub_pd(swapped, v);                // (b - a, a - b)
        _mm256_storeu_pd(buf + g, _mm256_blend_pd(sum, diff, 0xC));
    }
}

void groupProductsAvx2(const double* xr, const double* xi, const double* hr, const double* hi, int n,
                       double* sums)
{
    // Even and odd partitions in separate accumulators halve the dependent FMA chains.
    __m256d rr0 = _mm256_setzero_pd(), rr1 = rr0, ii0 = rr0, ii1 = rr0;
    __m256d ri0 = rr0, ri1 = rr0, ir0 = rr0, ir1 = rr0;
    int k = 0;
    for (; k + 2 <= n; k += 2) {
        const __m256d xr0 = _mm256_load_pd(xr + 4 * k), xr1 = _mm256_load_pd(xr + 4 * k + 4);
        const __m256d xi0 = _mm256_load_pd(xi + 4 * k), xi1 = _mm256_load_pd(xi + 4 * k + 4);
        const __m256d hr0 = _mm256_load_pd(hr + 4 * k), hr1 = _mm256_load_pd(hr + 4 * k + 4);
        const __m256d hi0 = _mm256_load_pd(hi + 4 * k), hi1 = _mm256_load_pd(hi + 4 * k + 4);
        rr0 = _mm256_fmadd_pd(xr0, hr0, rr0);
        rr1 = _mm256_fmadd_pd(xr1, hr1, rr1);
        ii0 = _mm256_fmadd_pd(xi0, hi0, ii0);
        ii1 = _mm256_fmadd_pd(xi1, hi1, ii1);
        ri0 = _mm256_fmadd_pd(xr0, hi0, ri0);
        ri1 = _mm256_fmadd_pd(xr1, hi1, ri1);
        ir0 = _mm256_fmadd_pd(xi0, hr0, ir0);
        ir1 = _mm256_fmadd_pd(xi1, hr1, ir1);
    }
    if (k < n) {
        const __m256d xr0 = _mm256_load_pd(xr + 4 * k), xi0 = _mm256_load_pd(xi + 4 * k);
        const __m256d hr0 = _mm256_load_pd(hr + 4 * k), hi0 = _mm256_load_pd(hi + 4 * k);
        rr0 = _mm256_fmadd_pd(xr0, hr0, rr0);
        ii0 = _mm256_fmadd_pd(xi0, hi0, ii0);
        ri0 = _mm256_fmadd_pd(xr0, hi0, ri0);
        ir0 = _mm256_fmadd_pd(xi0, hr0, ir0);
    }
    _mm256_storeu_pd(sums, _mm256_add_pd(rr0, rr1));
    _mm256_storeu_pd(sums + 4, _mm256_add_pd(ii0, ii1));
    _mm256_storeu_pd(sums + 8, _mm256_add_pd(ri0, ri1));
    _mm256_storeu_pd(sums + 12, _mm256_add_pd(ir0, ir1));
}

const SimdKernels kAvx2 = {difStageAvx2, difLastStageAvx2, groupProductsAvx2};
} // namespace

const SimdKernels& avx2Kernels() { return kAvx2; }
