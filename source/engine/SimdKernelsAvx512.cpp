// AVX-512 kernels: the delay-line multiply-accumulate, eight bins per register; every other
// kernel is the AVX2 one. This file alone is compiled with -mavx512f -mavx512dq and uses
// intrinsics only, so no inline library code built for AVX-512 can leak into other code.
#include "engine/SimdKernels.h"
#include "engine/SimdScalarSteps.h"

#include <immintrin.h>

namespace {

// Eight bins (re, im) as eight interleaved complex values: one two-source permutation per half.
inline void storeComplex(double* out, __m512d re, __m512d im)
{
    const __m512i low = _mm512_setr_epi64(0, 8, 1, 9, 2, 10, 3, 11);
    const __m512i high = _mm512_setr_epi64(4, 12, 5, 13, 6, 14, 7, 15);
    _mm512_storeu_pd(out, _mm512_permutex2var_pd(re, low, im));
    _mm512_storeu_pd(out + 8, _mm512_permutex2var_pd(re, high, im));
}

// Thirty-two bins per step: eight accumulator chains of eight lanes each.
void spectrumProductsAvx512(const double* const* x, const double* const* h, int partitions, long offset,
                            long imOffset, int count, double* out)
{
    constexpr int kWidth = 32;
    int i = 0;
    for (; i + kWidth <= count; i += kWidth) {
        const long b = offset + i;
        __m512d re[4], im[4];
        for (int v = 0; v < 4; ++v)
            re[v] = im[v] = _mm512_setzero_pd();
        for (int k = 0; k < partitions; ++k) {
            const double* xr = x[k] + b;
            const double* hr = h[k] + b;
            for (int v = 0; v < 4; ++v) {
                const __m512d vxr = _mm512_load_pd(xr + 8 * v), vxi = _mm512_load_pd(xr + imOffset + 8 * v);
                const __m512d vhr = _mm512_load_pd(hr + 8 * v), vhi = _mm512_load_pd(hr + imOffset + 8 * v);
                re[v] = _mm512_fnmadd_pd(vxi, vhi, _mm512_fmadd_pd(vxr, vhr, re[v]));
                im[v] = _mm512_fmadd_pd(vxi, vhr, _mm512_fmadd_pd(vxr, vhi, im[v]));
            }
        }
        for (int v = 0; v < 4; ++v)
            storeComplex(out + 2 * (i + 8 * v), re[v], im[v]);
    }
    for (; i + 8 <= count; i += 8) {
        const long b = offset + i;
        __m512d re = _mm512_setzero_pd(), im = re;
        for (int k = 0; k < partitions; ++k) {
            const __m512d vxr = _mm512_load_pd(x[k] + b), vxi = _mm512_load_pd(x[k] + imOffset + b);
            const __m512d vhr = _mm512_load_pd(h[k] + b), vhi = _mm512_load_pd(h[k] + imOffset + b);
            re = _mm512_fnmadd_pd(vxi, vhi, _mm512_fmadd_pd(vxr, vhr, re));
            im = _mm512_fmadd_pd(vxi, vhr, _mm512_fmadd_pd(vxr, vhi, im));
        }
        storeComplex(out + 2 * i, re, im);
    }
    spectrumProductsFrom(i, x, h, partitions, offset, imOffset, count, out);
}

SimdKernels withAvx512()
{
    SimdKernels kernels = avx2Kernels();
    kernels.spectrumProducts = spectrumProductsAvx512;
    return kernels;
}

} // namespace

const SimdKernels& avx512Kernels()
{
    static const SimdKernels kAvx512 = withAvx512();
    return kAvx512;
}
