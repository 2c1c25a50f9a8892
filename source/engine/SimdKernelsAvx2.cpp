// AVX2 + FMA kernels: two complex values or four real lanes per register. This file alone is
// compiled with -mavx2 -mfma and uses intrinsics only, so no inline library code built for
// AVX2 can leak into code that runs on processors without it.
#include "engine/SimdKernels.h"
#include "engine/SimdScalarSteps.h"

#include <immintrin.h>

namespace {

void difStageAvx2(double* buf, int count, int halfSpan, const double* rr, const double* ri)
{
    for (int g = 0; g < count; g += 2 * halfSpan)
    {
        double* a = buf + 2 * g;
        double* b = a + 2 * halfSpan;
        for (int j = 0; j < 2 * halfSpan; j += 4)
        {
            const __m256d va = _mm256_loadu_pd(a + j);
            const __m256d vb = _mm256_loadu_pd(b + j);
            _mm256_storeu_pd(a + j, _mm256_add_pd(va, vb));
            const __m256d d = _mm256_sub_pd(va, vb);
            const __m256d swapped = _mm256_permute_pd(d, 0x5);
            const __m256d product =
                _mm256_fmadd_pd(d, _mm256_loadu_pd(rr + j), _mm256_mul_pd(swapped, _mm256_loadu_pd(ri + j)));
            _mm256_storeu_pd(b + j, product);
        }
    }
}

// (a − b)·w as difStageAvx2 forms it, for two complex values and their twiddle rows.
inline __m256d twiddled(__m256d d, const double* rr, const double* ri)
{
    return _mm256_fmadd_pd(d, _mm256_loadu_pd(rr),
                           _mm256_mul_pd(_mm256_permute_pd(d, 0x5), _mm256_loadu_pd(ri)));
}

// Quarters a, b, c, d of each group of span 2·halfSpan: the first stage pairs (a, c) and
// (b, d), the second (a', b') and (c', d'), all in registers.
void difStagePairAvx2(double* buf, int count, int halfSpan, const double* rr, const double* ri,
                      const double* rr2, const double* ri2)
{
    const int quarter = halfSpan; // doubles in a quarter: halfSpan/2 complex values
    for (int g = 0; g < count; g += 2 * halfSpan)
    {
        double* a = buf + 2 * g;
        double* b = a + quarter;
        double* c = a + 2 * quarter;
        double* d = a + 3 * quarter;
        for (int j = 0; j < quarter; j += 4)
        {
            const __m256d va = _mm256_loadu_pd(a + j), vb = _mm256_loadu_pd(b + j);
            const __m256d vc = _mm256_loadu_pd(c + j), vd = _mm256_loadu_pd(d + j);
            const __m256d a1 = _mm256_add_pd(va, vc), b1 = _mm256_add_pd(vb, vd);
            const __m256d c1 = twiddled(_mm256_sub_pd(va, vc), rr + j, ri + j);
            const __m256d d1 = twiddled(_mm256_sub_pd(vb, vd), rr + quarter + j, ri + quarter + j);
            _mm256_storeu_pd(a + j, _mm256_add_pd(a1, b1));
            _mm256_storeu_pd(b + j, twiddled(_mm256_sub_pd(a1, b1), rr2 + j, ri2 + j));
            _mm256_storeu_pd(c + j, _mm256_add_pd(c1, d1));
            _mm256_storeu_pd(d + j, twiddled(_mm256_sub_pd(c1, d1), rr2 + j, ri2 + j));
        }
    }
}

void difLastStageAvx2(double* buf, int count)
{
    // Each register holds one butterfly (a, b); the results are (a + b, a - b).
    for (int g = 0; g < 2 * count; g += 4)
    {
        const __m256d v = _mm256_loadu_pd(buf + g);
        const __m256d swapped = _mm256_permute2f128_pd(v, v, 0x01); // (b, a)
        const __m256d sum = _mm256_add_pd(v, swapped);              // (a + b, a + b)
        const __m256d diff = _mm256_sub_pd(swapped, v);             // (b - a, a - b)
        _mm256_storeu_pd(buf + g, _mm256_blend_pd(sum, diff, 0xC));
    }
}

void difFirstStageHalfZeroAvx2(const double* in, double* out, int count, const double* rr, const double* ri)
{
    double* upper = out + count; // count/2 complex values further on
    int j = 0;
    for (; j + 4 <= count; j += 4)
    {
        const __m256d a = _mm256_loadu_pd(in + j);
        _mm256_storeu_pd(out + j, a);
        const __m256d swapped = _mm256_permute_pd(a, 0x5);
        _mm256_storeu_pd(upper + j, _mm256_fmadd_pd(a, _mm256_loadu_pd(rr + j),
                                                    _mm256_mul_pd(swapped, _mm256_loadu_pd(ri + j))));
    }
    if (j < count)
    { // count = 2: a single butterfly
        const __m128d a = _mm_loadu_pd(in + j);
        _mm_storeu_pd(out + j, a);
        const __m128d swapped = _mm_permute_pd(a, 0x1);
        _mm_storeu_pd(upper + j,
                      _mm_fmadd_pd(a, _mm_loadu_pd(rr + j), _mm_mul_pd(swapped, _mm_loadu_pd(ri + j))));
    }
}

// Two neighbouring bins k, k + 1 per register, their mirrors N/2 − k, N/2 − k − 1 in another
// (loaded and stored with the two halves exchanged). In both splits, with S = A + B* and
// D = A − B* = (dr, di), the pair's results are ½(S ± T) up to conjugation, T a twiddle
// product of D; w[N/2 − k] = (−Re w[k], Im w[k]) needs no loads of its own.
const __m256d kOddSign = _mm256_set_pd(-0.0, 0.0, -0.0, 0.0);

__m256d loadPair(const double* z, int first, int second)
{
    return _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(z + 2 * first)),
                                _mm_loadu_pd(z + 2 * second), 1);
}

void storeMirrored(double* p, __m256d v) { _mm256_storeu_pd(p, _mm256_permute2f128_pd(v, v, 0x01)); }

void forwardSplitAvx2(const double* z, const int* rev, const double* w, int quarter, double* out)
{
    const int half = 2 * quarter;
    const __m256d oneHalf = _mm256_set1_pd(0.5);
    int k = 0;
    for (; k + 2 <= quarter; k += 2)
    {
        const __m256d a = loadPair(z, rev[k], rev[k + 1]);
        const __m256d bc = _mm256_xor_pd(loadPair(z, rev[half - k], rev[half - k - 1]), kOddSign);
        const __m256d sum = _mm256_add_pd(a, bc), diff = _mm256_sub_pd(a, bc);
        const __m256d tw = _mm256_loadu_pd(w + 2 * k);
        // T = conj(w)·(di + i·dr) = (wr·di + wi·dr, wr·dr − wi·di).
        const __m256d t = _mm256_fmsubadd_pd(_mm256_movedup_pd(tw), _mm256_permute_pd(diff, 0x5),
                                             _mm256_mul_pd(_mm256_permute_pd(tw, 0xF), diff));
        const __m256d tc = _mm256_xor_pd(t, kOddSign);
        _mm256_storeu_pd(out + 2 * k, _mm256_mul_pd(oneHalf, _mm256_add_pd(sum, tc)));
        // ½(conj(S) − T)
        storeMirrored(out + 2 * (half - k - 1),
                      _mm256_mul_pd(oneHalf, _mm256_sub_pd(_mm256_xor_pd(sum, kOddSign), t)));
    }
    // Bin N/4 (its own mirror); for N = 4 bins 0 and 1 as well.
    forwardSplitFrom(k, z, rev, w, quarter, out);
}

void inverseSplitAvx2(const double* y, const double* w, int quarter, double* out)
{
    const int half = 2 * quarter;
    const __m256d oneHalf = _mm256_set1_pd(0.5);
    int k = 0;
    for (; k + 2 <= quarter; k += 2)
    {
        const __m256d a = _mm256_loadu_pd(y + 2 * k);
        const __m256d b = _mm256_loadu_pd(y + 2 * (half - k - 1));
        const __m256d bc = _mm256_xor_pd(_mm256_permute2f128_pd(b, b, 0x01), kOddSign);
        const __m256d sum = _mm256_add_pd(a, bc), diff = _mm256_sub_pd(a, bc);
        const __m256d tw = _mm256_loadu_pd(w + 2 * k);
        // U = conj(w)·i·D = (wi·dr − wr·di, wi·di + wr·dr).
        const __m256d u =
            _mm256_fmaddsub_pd(_mm256_permute_pd(tw, 0xF), diff,
                               _mm256_mul_pd(_mm256_movedup_pd(tw), _mm256_permute_pd(diff, 0x5)));
        _mm256_storeu_pd(out + 2 * k, _mm256_mul_pd(oneHalf, _mm256_add_pd(sum, u)));
        // ½·conj(S − U)
        storeMirrored(out + 2 * (half - k - 1),
                      _mm256_mul_pd(oneHalf, _mm256_xor_pd(_mm256_sub_pd(sum, u), kOddSign)));
    }
    inverseSplitFrom(k, y, w, quarter, out);
}

void splitBinsAvx2(const double* bins, int count, double* re, double* im)
{
    int b = 0;
    for (; b + 4 <= count; b += 4)
    {
        const __m256d lo = _mm256_loadu_pd(bins + 2 * b), hi = _mm256_loadu_pd(bins + 2 * b + 4);
        // unpack gives (r0, r2, r1, r3) and (i0, i2, i1, i3); the permutation restores bin order.
        _mm256_store_pd(re + b, _mm256_permute4x64_pd(_mm256_unpacklo_pd(lo, hi), 0xD8));
        _mm256_store_pd(im + b, _mm256_permute4x64_pd(_mm256_unpackhi_pd(lo, hi), 0xD8));
    }
    splitBinsFrom(b, bins, count, re, im);
}

// Four bins (re, im) as two interleaved pairs of complex values.
inline void storeComplex(double* out, __m256d re, __m256d im)
{
    const __m256d even = _mm256_unpacklo_pd(re, im), odd = _mm256_unpackhi_pd(re, im); // bins 0, 2 / 1, 3
    _mm256_storeu_pd(out, _mm256_permute2f128_pd(even, odd, 0x20));
    _mm256_storeu_pd(out + 4, _mm256_permute2f128_pd(even, odd, 0x31));
}

// Sixteen bins per step: eight independent accumulator chains cover the FMA latency, and each
// partition's rows are read as whole cache lines.
void spectrumProductsAvx2(const double* const* x, const double* const* h, int partitions, long offset,
                          long imOffset, int count, double* out)
{
    constexpr int kWidth = 16;
    int i = 0;
    for (; i + kWidth <= count; i += kWidth)
    {
        const long b = offset + i;
        __m256d re[4], im[4];
        for (int v = 0; v < 4; ++v)
            re[v] = im[v] = _mm256_setzero_pd();
        for (int k = 0; k < partitions; ++k)
        {
            const double* xr = x[k] + b;
            const double* hr = h[k] + b;
            for (int v = 0; v < 4; ++v)
            {
                const __m256d vxr = _mm256_load_pd(xr + 4 * v), vxi = _mm256_load_pd(xr + imOffset + 4 * v);
                const __m256d vhr = _mm256_load_pd(hr + 4 * v), vhi = _mm256_load_pd(hr + imOffset + 4 * v);
                re[v] = _mm256_fnmadd_pd(vxi, vhi, _mm256_fmadd_pd(vxr, vhr, re[v]));
                im[v] = _mm256_fmadd_pd(vxi, vhr, _mm256_fmadd_pd(vxr, vhi, im[v]));
            }
        }
        for (int v = 0; v < 4; ++v)
            storeComplex(out + 2 * (i + 4 * v), re[v], im[v]);
    }
    for (; i + 4 <= count; i += 4)
    {
        const long b = offset + i;
        __m256d re = _mm256_setzero_pd(), im = re;
        for (int k = 0; k < partitions; ++k)
        {
            const __m256d vxr = _mm256_load_pd(x[k] + b), vxi = _mm256_load_pd(x[k] + imOffset + b);
            const __m256d vhr = _mm256_load_pd(h[k] + b), vhi = _mm256_load_pd(h[k] + imOffset + b);
            re = _mm256_fnmadd_pd(vxi, vhi, _mm256_fmadd_pd(vxr, vhr, re));
            im = _mm256_fmadd_pd(vxi, vhr, _mm256_fmadd_pd(vxr, vhi, im));
        }
        storeComplex(out + 2 * i, re, im);
    }
    spectrumProductsFrom(i, x, h, partitions, offset, imOffset, count, out);
}

// Four bins per step, eight independent accumulator chains (each product term apart). Each
// partition's input row is read from the outer levels once and used twice: against its own
// response and, from the next partition on, against the response one further.
void spectrumProductPairsAvx2(const double* const* x, const double* const* h, int partitions, long offset,
                              long imOffset, int count, double* now, double* next)
{
    int i = 0;
    for (; i + 4 <= count; i += 4)
    {
        const long b = offset + i;
        __m256d arr = _mm256_setzero_pd(), aii = arr, ari = arr, air = arr;
        __m256d brr = arr, bii = arr, bri = arr, bir = arr;
        __m256d pr = arr, pi = arr; // the previous partition's input bins
        for (int k = 0; k < partitions; ++k)
        {
            const __m256d xr = _mm256_load_pd(x[k] + b), xi = _mm256_load_pd(x[k] + imOffset + b);
            const __m256d hr = _mm256_load_pd(h[k] + b), hi = _mm256_load_pd(h[k] + imOffset + b);
            arr = _mm256_fmadd_pd(xr, hr, arr);
            aii = _mm256_fmadd_pd(xi, hi, aii);
            ari = _mm256_fmadd_pd(xr, hi, ari);
            air = _mm256_fmadd_pd(xi, hr, air);
            // k = 0 adds 0 · h[0] here, exactly nothing for finite spectra.
            brr = _mm256_fmadd_pd(pr, hr, brr);
            bii = _mm256_fmadd_pd(pi, hi, bii);
            bri = _mm256_fmadd_pd(pr, hi, bri);
            bir = _mm256_fmadd_pd(pi, hr, bir);
            pr = xr;
            pi = xi;
        }
        storeComplex(now + 2 * i, _mm256_sub_pd(arr, aii), _mm256_add_pd(ari, air));
        storeComplex(next + 2 * i, _mm256_sub_pd(brr, bii), _mm256_add_pd(bri, bir));
    }
    spectrumProductPairsFrom(i, x, h, partitions, offset, imOffset, count, now, next);
}

void hyperbolicEnvelopeAvx2(int first, double fs, double rate, int count, double* out)
{
    const __m256d vfs = _mm256_set1_pd(fs), vrate = _mm256_set1_pd(rate);
    int k = 0;
    for (; k + 4 <= count; k += 4)
    {
        const __m256d index =
            _mm256_cvtepi32_pd(_mm_add_epi32(_mm_set1_epi32(first + k), _mm_setr_epi32(0, 1, 2, 3)));
        _mm256_storeu_pd(out + k, _mm256_div_pd(vfs, _mm256_add_pd(_mm256_mul_pd(index, vrate), vfs)));
    }
    hyperbolicEnvelopeFrom(k, first, fs, rate, count, out);
}

void shapeResponseAvx2(const double* const* env, const double* const* table, const double* vol,
                       bool subtractLR, int count, double* out)
{
    const __m256d vfb = _mm256_set1_pd(vol[0]), vlr = _mm256_set1_pd(vol[1]), vcf = _mm256_set1_pd(vol[2]);
    const __m256d sign = _mm256_set1_pd(subtractLR ? -0.0 : 0.0); // xor flips the LR product
    int k = 0;
    for (; k + 4 <= count; k += 4)
    {
        const __m256d fb =
            _mm256_mul_pd(_mm256_mul_pd(_mm256_loadu_pd(env[0] + k), vfb), _mm256_loadu_pd(table[0] + k));
        const __m256d lr =
            _mm256_mul_pd(_mm256_mul_pd(_mm256_loadu_pd(env[1] + k), vlr), _mm256_loadu_pd(table[1] + k));
        const __m256d cf =
            _mm256_mul_pd(_mm256_mul_pd(_mm256_loadu_pd(env[2] + k), vcf), _mm256_loadu_pd(table[2] + k));
        _mm256_storeu_pd(out + k, _mm256_add_pd(_mm256_add_pd(fb, _mm256_xor_pd(lr, sign)), cf));
    }
    shapeResponseFrom(k, env, table, vol, subtractLR, count, out);
}

const SimdKernels kAvx2 = {
    difStageAvx2,      difStagePairAvx2,     difLastStageAvx2,        difFirstStageHalfZeroAvx2,
    forwardSplitAvx2,  inverseSplitAvx2,     splitBinsAvx2,           hyperbolicEnvelopeAvx2,
    shapeResponseAvx2, spectrumProductsAvx2, spectrumProductPairsAvx2};
} // namespace

const SimdKernels& avx2Kernels() { return kAvx2; }
