// AVX-512 kernels: the delay-line multiply-accumulate, eight bins per register, and the fused
// butterfly stage pair, four complex values per register, both in the shared wide forms of
// SimdWideKernels.h; every other kernel is the AVX2 one. This file alone
// is compiled with -mavx512f -mavx512dq and uses intrinsics only, so no inline library code built for AVX-512
// can leak into other code.
#include "engine/SimdConversionKernels.h"
#include "engine/SimdKernels.h"
#include "engine/SimdScalarSteps.h"
#include "engine/SimdSingleKernels.h"
#include "engine/SimdWideKernels.h"

#include <immintrin.h>

namespace {

// Eight doubles (four complex values) per register.
struct Avx512
{
    using Reg = __m512d;
    static constexpr int kLanes = 8;
    static Reg zero() { return _mm512_setzero_pd(); }
    static Reg load(const double* p) { return _mm512_load_pd(p); }
    static Reg loadu(const double* p) { return _mm512_loadu_pd(p); }
    static void storeu(double* p, Reg v) { _mm512_storeu_pd(p, v); }
    static Reg add(Reg a, Reg b) { return _mm512_add_pd(a, b); }
    static Reg sub(Reg a, Reg b) { return _mm512_sub_pd(a, b); }
    static Reg mul(Reg a, Reg b) { return _mm512_mul_pd(a, b); }
    static Reg fmadd(Reg a, Reg b, Reg c) { return _mm512_fmadd_pd(a, b, c); }
    static Reg fnmadd(Reg a, Reg b, Reg c) { return _mm512_fnmadd_pd(a, b, c); }
    static Reg swapPairs(Reg v) { return _mm512_shuffle_pd(v, v, 0x55); }
    // Eight bins (re, im) as eight interleaved complex values: one two-source permutation per half.
    static void storeComplex(double* out, Reg re, Reg im)
    {
        const __m512i low = _mm512_setr_epi64(0, 8, 1, 9, 2, 10, 3, 11);
        const __m512i high = _mm512_setr_epi64(4, 12, 5, 13, 6, 14, 7, 15);
        _mm512_storeu_pd(out, _mm512_permutex2var_pd(re, low, im));
        _mm512_storeu_pd(out + 8, _mm512_permutex2var_pd(re, high, im));
    }
};

// Quarters shorter than a register (halfSpan 4) go to the AVX2 form.
void difStagePairAvx512(double* buf, int count, int halfSpan, const double* rr, const double* ri,
                        const double* rr2, const double* ri2)
{
    if (halfSpan < Avx512::kLanes)
        avx2Kernels().difStagePair(buf, count, halfSpan, rr, ri, rr2, ri2);
    else
        wideDifStagePair<Avx512>(buf, count, halfSpan, rr, ri, rr2, ri2);
}

SimdKernels withAvx512()
{
    SimdKernels kernels = avx2Kernels();
    kernels.difStagePair = difStagePairAvx512;
    kernels.spectrumProducts = wideSpectrumProducts<Avx512>;
    kernels.spectrumProductPairs = wideSpectrumProductPairs<Avx512>;
    kernels.splitBinsSingle = singleSplitBins;
    kernels.spectrumProductsSingle = singleSpectrumProducts;
    kernels.spectrumProductPairsSingle = singleSpectrumProductPairs;
    kernels.narrowSamples = narrowSamplesLoop;
    kernels.widenOverlapAdd = widenOverlapAddLoop;
    kernels.splitSingleBins = splitSingleBinsLoop;
    return kernels;
}

} // namespace

const SimdKernels& avx512Kernels()
{
    static const SimdKernels kAvx512 = withAvx512();
    return kAvx512;
}
