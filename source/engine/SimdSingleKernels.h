// The single-precision multiply-accumulate kernels (see SimdKernels), written as plain loops over
// a chunk of at most 32 bins that the compiler vectorises for the instruction set of the file
// including this header. Each set's file includes it inside its anonymous namespace context, so
// no code built for a wider set is shared with a narrower one.
#pragma once

#include <algorithm>
#include <cstring>

namespace {

constexpr int kSingleChunk = 32;

// re + i·im += (xr + i·xi)(hr + i·hi) over n (<= kSingleChunk) bins. The bound is a constant
// when the chunk is whole (N > 0), so the loop vectorises without a tail.
template <int N>
inline void singleMultiplyAdd(const float* xr, const float* xi, const float* hr, const float* hi, int n,
                              float* re, float* im)
{
    const int count = N > 0 ? N : n;
    for (int i = 0; i < count; ++i)
    {
        re[i] += xr[i] * hr[i] - xi[i] * hi[i];
        im[i] += xr[i] * hi[i] + xi[i] * hr[i];
    }
}

// A whole chunk's sums held in registers across the partitions, in vectors of 16 floats (one
// register with AVX-512, two with AVX2, four with SSE2). Left to itself gcc unrolls the loop
// over the partitions and no longer vectorises the bins.
inline void singleChunkSums(const float* const* x, const float* const* h, int partitions, long offset,
                            long imOffset, float* re, float* im)
{
    using Vector = float __attribute__((vector_size(64)));
    static_assert(kSingleChunk == 2 * sizeof(Vector) / sizeof(float), "two vectors per chunk");
    Vector r0{}, r1{}, i0{}, i1{};
    for (int k = 0; k < partitions; ++k)
    {
        const float* xr = x[k] + offset;
        const float* hr = h[k] + offset;
        Vector ar0, ar1, ai0, ai1, br0, br1, bi0, bi1; // no helper: a vector return crosses an ABI
        std::memcpy(&ar0, xr, sizeof ar0);
        std::memcpy(&ar1, xr + 16, sizeof ar1);
        std::memcpy(&ai0, xr + imOffset, sizeof ai0);
        std::memcpy(&ai1, xr + imOffset + 16, sizeof ai1);
        std::memcpy(&br0, hr, sizeof br0);
        std::memcpy(&br1, hr + 16, sizeof br1);
        std::memcpy(&bi0, hr + imOffset, sizeof bi0);
        std::memcpy(&bi1, hr + imOffset + 16, sizeof bi1);
        r0 += ar0 * br0 - ai0 * bi0;
        r1 += ar1 * br1 - ai1 * bi1;
        i0 += ar0 * bi0 + ai0 * br0;
        i1 += ar1 * bi1 + ai1 * br1;
    }
    std::memcpy(re, &r0, sizeof r0);
    std::memcpy(re + 16, &r1, sizeof r1);
    std::memcpy(im, &i0, sizeof i0);
    std::memcpy(im + 16, &i1, sizeof i1);
}

// Sums over the given rows for n (<= kSingleChunk) bins starting at offset; re and im hold the
// sums.
template <int N>
inline void singleSums(const float* const* x, const float* const* h, int partitions, long offset,
                       long imOffset, int n, float* re, float* im)
{
    if constexpr (N == kSingleChunk)
    {
        singleChunkSums(x, h, partitions, offset, imOffset, re, im);
        return;
    }
    const int count = N > 0 ? N : n;
    for (int i = 0; i < count; ++i)
        re[i] = im[i] = 0.0f;
    for (int k = 0; k < partitions; ++k)
    {
        const float* xr = x[k] + offset;
        const float* xi = xr + imOffset;
        const float* hr = h[k] + offset;
        singleMultiplyAdd<N>(xr, xi, hr, hr + imOffset, n, re, im);
    }
}

inline void singleSpectrumProducts(const float* const* x, const float* const* h, int partitions, long offset,
                                   long imOffset, int count, double* out)
{
    alignas(64) float re[kSingleChunk], im[kSingleChunk];
    for (int first = 0; first < count; first += kSingleChunk)
    {
        const int n = std::min(kSingleChunk, count - first);
        if (n == kSingleChunk)
            singleSums<kSingleChunk>(x, h, partitions, offset + first, imOffset, n, re, im);
        else
            singleSums<0>(x, h, partitions, offset + first, imOffset, n, re, im);
        for (int i = 0; i < n; ++i)
        {
            out[2 * (first + i)] = re[i];
            out[2 * (first + i) + 1] = im[i];
        }
    }
}

// now as singleSpectrumProducts, next over the window against the responses one partition on;
// each input row is read once for both.
template <int N>
inline void singlePairSums(const float* const* x, const float* const* h, int partitions, long offset,
                           long imOffset, int n, float* nr, float* ni, float* pr, float* pi)
{
    const int count = N > 0 ? N : n;
    for (int i = 0; i < count; ++i)
        nr[i] = ni[i] = pr[i] = pi[i] = 0.0f;
    for (int k = 0; k < partitions; ++k)
    {
        const float* xr = x[k] + offset;
        const float* xi = xr + imOffset;
        const float* hr = h[k] + offset;
        singleMultiplyAdd<N>(xr, xi, hr, hr + imOffset, n, nr, ni);
        if (k + 1 < partitions)
        {
            const float* gr = h[k + 1] + offset;
            singleMultiplyAdd<N>(xr, xi, gr, gr + imOffset, n, pr, pi);
        }
    }
}

inline void singleSpectrumProductPairs(const float* const* x, const float* const* h, int partitions,
                                       long offset, long imOffset, int count, double* now, double* next)
{
    alignas(64) float nr[kSingleChunk], ni[kSingleChunk], pr[kSingleChunk], pi[kSingleChunk];
    for (int first = 0; first < count; first += kSingleChunk)
    {
        const int n = std::min(kSingleChunk, count - first);
        if (n == kSingleChunk)
            singlePairSums<kSingleChunk>(x, h, partitions, offset + first, imOffset, n, nr, ni, pr, pi);
        else
            singlePairSums<0>(x, h, partitions, offset + first, imOffset, n, nr, ni, pr, pi);
        for (int i = 0; i < n; ++i)
        {
            now[2 * (first + i)] = nr[i];
            now[2 * (first + i) + 1] = ni[i];
            next[2 * (first + i)] = pr[i];
            next[2 * (first + i) + 1] = pi[i];
        }
    }
}

inline void singleSplitBins(const double* bins, int count, float* re, float* im)
{
    for (int b = 0; b < count; ++b)
    {
        re[b] = static_cast<float>(bins[2 * b]);
        im[b] = static_cast<float>(bins[2 * b + 1]);
    }
}

} // namespace
