// AVX-512 kernels: the delay-line multiply-accumulate, eight bins per register, and the fused
// butterfly stage pair, four complex values per register; every other kernel is the AVX2 one. This file alone
// is compiled with -mavx512f -mavx512dq and uses intrinsics only, so no inline library code built for AVX-512
// can leak into other code.
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
    for (; i + kWidth <= count; i += kWidth)
    {
        const long b = offset + i;
        __m512d re[4], im[4];
        for (int v = 0; v < 4; ++v)
            re[v] = im[v] = _mm512_setzero_pd();
        for (int k = 0; k < partitions; ++k)
        {
            const double* xr = x[k] + b;
            const double* hr = h[k] + b;
            for (int v = 0; v < 4; ++v)
            {
                const __m512d vxr = _mm512_load_pd(xr + 8 * v), vxi = _mm512_load_pd(xr + imOffset + 8 * v);
                const __m512d vhr = _mm512_load_pd(hr + 8 * v), vhi = _mm512_load_pd(hr + imOffset + 8 * v);
                re[v] = _mm512_fnmadd_pd(vxi, vhi, _mm512_fmadd_pd(vxr, vhr, re[v]));
                im[v] = _mm512_fmadd_pd(vxi, vhr, _mm512_fmadd_pd(vxr, vhi, im[v]));
            }
        }
        for (int v = 0; v < 4; ++v)
            storeComplex(out + 2 * (i + 8 * v), re[v], im[v]);
    }
    for (; i + 8 <= count; i += 8)
    {
        const long b = offset + i;
        __m512d re = _mm512_setzero_pd(), im = re;
        for (int k = 0; k < partitions; ++k)
        {
            const __m512d vxr = _mm512_load_pd(x[k] + b), vxi = _mm512_load_pd(x[k] + imOffset + b);
            const __m512d vhr = _mm512_load_pd(h[k] + b), vhi = _mm512_load_pd(h[k] + imOffset + b);
            re = _mm512_fnmadd_pd(vxi, vhi, _mm512_fmadd_pd(vxr, vhr, re));
            im = _mm512_fmadd_pd(vxi, vhr, _mm512_fmadd_pd(vxr, vhi, im));
        }
        storeComplex(out + 2 * i, re, im);
    }
    spectrumProductsFrom(i, x, h, partitions, offset, imOffset, count, out);
}

// Eight bins per step, as the AVX2 form: eight accumulator chains, each input row read from
// the outer levels once for both sums.
void spectrumProductPairsAvx512(const double* const* x, const double* const* h, int partitions, long offset,
                                long imOffset, int count, double* now, double* next)
{
    int i = 0;
    for (; i + 8 <= count; i += 8)
    {
        const long b = offset + i;
        __m512d arr = _mm512_setzero_pd(), aii = arr, ari = arr, air = arr;
        __m512d brr = arr, bii = arr, bri = arr, bir = arr;
        __m512d pr = arr, pi = arr; // the previous partition's input bins
        for (int k = 0; k < partitions; ++k)
        {
            const __m512d xr = _mm512_load_pd(x[k] + b), xi = _mm512_load_pd(x[k] + imOffset + b);
            const __m512d hr = _mm512_load_pd(h[k] + b), hi = _mm512_load_pd(h[k] + imOffset + b);
            arr = _mm512_fmadd_pd(xr, hr, arr);
            aii = _mm512_fmadd_pd(xi, hi, aii);
            ari = _mm512_fmadd_pd(xr, hi, ari);
            air = _mm512_fmadd_pd(xi, hr, air);
            // k = 0 adds 0 · h[0] here, exactly nothing for finite spectra.
            brr = _mm512_fmadd_pd(pr, hr, brr);
            bii = _mm512_fmadd_pd(pi, hi, bii);
            bri = _mm512_fmadd_pd(pr, hi, bri);
            bir = _mm512_fmadd_pd(pi, hr, bir);
            pr = xr;
            pi = xi;
        }
        storeComplex(now + 2 * i, _mm512_sub_pd(arr, aii), _mm512_add_pd(ari, air));
        storeComplex(next + 2 * i, _mm512_sub_pd(brr, bii), _mm512_add_pd(bri, bir));
    }
    spectrumProductPairsFrom(i, x, h, partitions, offset, imOffset, count, now, next);
}

// (a − b)·w for four complex values and their twiddle rows, formed as the AVX2 stages form it
// (the same operations in the same order), so that both sets give the same transforms.
inline __m512d twiddled(__m512d d, const double* rr, const double* ri)
{
    return _mm512_fmadd_pd(d, _mm512_loadu_pd(rr),
                           _mm512_mul_pd(_mm512_shuffle_pd(d, d, 0x55), _mm512_loadu_pd(ri)));
}

// Quarters a, b, c, d of each group of span 2·halfSpan: the first stage pairs (a, c) and
// (b, d), the second (a', b') and (c', d'), all in registers. Quarters shorter than a register
// (halfSpan 4) go to the AVX2 form.
void difStagePairAvx512(double* buf, int count, int halfSpan, const double* rr, const double* ri,
                        const double* rr2, const double* ri2)
{
    const int quarter = halfSpan; // doubles in a quarter: halfSpan/2 complex values
    if (quarter < 8)
    {
        avx2Kernels().difStagePair(buf, count, halfSpan, rr, ri, rr2, ri2);
        return;
    }
    for (int g = 0; g < count; g += 2 * halfSpan)
    {
        double* a = buf + 2 * g;
        double* b = a + quarter;
        double* c = a + 2 * quarter;
        double* d = a + 3 * quarter;
        for (int j = 0; j < quarter; j += 8)
        {
            const __m512d va = _mm512_loadu_pd(a + j), vb = _mm512_loadu_pd(b + j);
            const __m512d vc = _mm512_loadu_pd(c + j), vd = _mm512_loadu_pd(d + j);
            const __m512d a1 = _mm512_add_pd(va, vc), b1 = _mm512_add_pd(vb, vd);
            const __m512d c1 = twiddled(_mm512_sub_pd(va, vc), rr + j, ri + j);
            const __m512d d1 = twiddled(_mm512_sub_pd(vb, vd), rr + quarter + j, ri + quarter + j);
            _mm512_storeu_pd(a + j, _mm512_add_pd(a1, b1));
            _mm512_storeu_pd(b + j, twiddled(_mm512_sub_pd(a1, b1), rr2 + j, ri2 + j));
            _mm512_storeu_pd(c + j, _mm512_add_pd(c1, d1));
            _mm512_storeu_pd(d + j, twiddled(_mm512_sub_pd(c1, d1), rr2 + j, ri2 + j));
        }
    }
}

SimdKernels withAvx512()
{
    SimdKernels kernels = avx2Kernels();
    kernels.difStagePair = difStagePairAvx512;
    kernels.spectrumProducts = spectrumProductsAvx512;
    kernels.spectrumProductPairs = spectrumProductPairsAvx512;
    return kernels;
}

} // namespace

const SimdKernels& avx512Kernels()
{
    static const SimdKernels kAvx512 = withAvx512();
    return kAvx512;
}
