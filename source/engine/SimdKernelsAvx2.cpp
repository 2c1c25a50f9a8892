// AVX2 + FMA kernels: two complex values or four real lanes per register (the multiply-accumulate
// and the fused stage pair are the shared wide forms of SimdWideKernels.h). This file alone is
// compiled with -mavx2 -mfma and uses intrinsics only, so no inline library code built for
// AVX2 can leak into code that runs on processors without it.
#include "engine/SimdConversionKernels.h"
#include "engine/SimdKernels.h"
#include "engine/SimdScalarSteps.h"
#include "engine/SimdSingleKernels.h"
#include "engine/SimdWideKernels.h"

#include <immintrin.h>

namespace {

// Four doubles (two complex values) per register.
struct Avx2
{
    using Reg = __m256d;
    static constexpr int kLanes = 4;
    static Reg zero() { return _mm256_setzero_pd(); }
    static Reg load(const double* p) { return _mm256_load_pd(p); }
    static Reg loadu(const double* p) { return _mm256_loadu_pd(p); }
    static void storeu(double* p, Reg v) { _mm256_storeu_pd(p, v); }
    static Reg add(Reg a, Reg b) { return _mm256_add_pd(a, b); }
    static Reg sub(Reg a, Reg b) { return _mm256_sub_pd(a, b); }
    static Reg mul(Reg a, Reg b) { return _mm256_mul_pd(a, b); }
    static Reg fmadd(Reg a, Reg b, Reg c) { return _mm256_fmadd_pd(a, b, c); }
    static Reg fnmadd(Reg a, Reg b, Reg c) { return _mm256_fnmadd_pd(a, b, c); }
    static Reg swapPairs(Reg v) { return _mm256_permute_pd(v, 0x5); }
    // Four bins (re, im) as four interleaved complex values.
    static void storeComplex(double* out, Reg re, Reg im)
    {
        const Reg even = _mm256_unpacklo_pd(re, im), odd = _mm256_unpackhi_pd(re, im); // bins 0, 2 / 1, 3
        _mm256_storeu_pd(out, _mm256_permute2f128_pd(even, odd, 0x20));
        _mm256_storeu_pd(out + 4, _mm256_permute2f128_pd(even, odd, 0x31));
    }
};

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

const SimdKernels kAvx2 = {difStageAvx2,
                           wideDifStagePair<Avx2>,
                           difLastStageAvx2,
                           difFirstStageHalfZeroAvx2,
                           forwardSplitAvx2,
                           inverseSplitAvx2,
                           splitBinsAvx2,
                           hyperbolicEnvelopeAvx2,
                           shapeResponseAvx2,
                           wideSpectrumProducts<Avx2>,
                           wideSpectrumProductPairs<Avx2>,
                           singleSplitBins,
                           singleSpectrumProducts,
                           singleSpectrumProductPairs,
                           narrowSamplesLoop,
                           widenOverlapAddLoop,
                           splitSingleBinsLoop};
} // namespace

const SimdKernels& avx2Kernels() { return kAvx2; }
