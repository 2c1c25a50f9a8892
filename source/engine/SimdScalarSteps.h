// Scalar forms of the kernels that both kernel sets share: the baseline set runs them whole,
// the AVX2 set for the indices its vector loops leave over. Internal linkage on purpose: each
// kernel file gets its own copy, compiled for its own instruction set, so no AVX2 build of
// these can be picked by the linker for the baseline set.
#pragma once

namespace {

// Both split steps pair bin k with bin N/2 − k; w[N/2 − k] = (−Re w[k], Im w[k]) exactly.
// Forward split step (see SimdKernels::forwardSplit) for bins k = first … quarter.
inline void forwardSplitFrom(int first, const double* z, const int* rev, const double* w, int quarter,
                             double* out)
{
    const int half = 2 * quarter;
    for (int k = first; k <= quarter; ++k)
    {
        const double* a = z + 2 * rev[k];
        const double* b = z + 2 * rev[half - k];
        const double wr = w[2 * k], wi = w[2 * k + 1];
        const double sr = a[0] + b[0], si = a[1] - b[1]; // A + B*
        const double dr = a[0] - b[0], di = a[1] + b[1]; // A − B*
        const double tr = wr * di + wi * dr, ti = wr * dr - wi * di;
        out[2 * k] = 0.5 * (sr + tr);
        out[2 * k + 1] = 0.5 * (si - ti);
        out[2 * (half - k)] = 0.5 * (sr - tr);
        out[2 * (half - k) + 1] = 0.5 * (-si - ti);
    }
}

// Inverse split step (see SimdKernels::inverseSplit) for bins k = first … quarter.
inline void inverseSplitFrom(int first, const double* y, const double* w, int quarter, double* out)
{
    const int half = 2 * quarter;
    for (int k = first; k <= quarter; ++k)
    {
        const double* a = y + 2 * k;
        const double* b = y + 2 * (half - k);
        const double wr = w[2 * k], wi = w[2 * k + 1];
        const double sr = a[0] + b[0], si = a[1] - b[1];
        const double dr = a[0] - b[0], di = a[1] + b[1];
        const double ur = wi * dr - wr * di, ui = wi * di + wr * dr;
        out[2 * k] = 0.5 * (sr + ur);
        out[2 * k + 1] = 0.5 * (si + ui);
        out[2 * (half - k)] = 0.5 * (sr - ur);
        out[2 * (half - k) + 1] = 0.5 * (ui - si);
    }
}

// Hyperbolic envelope (see SimdKernels::hyperbolicEnvelope) for k = from … count − 1.
inline void hyperbolicEnvelopeFrom(int from, int first, double fs, double rate, int count, double* out)
{
    for (int k = from; k < count; ++k)
        out[k] = fs / (static_cast<double>(first + k) * rate + fs);
}

// Shaped response (see SimdKernels::shapeResponse) for k = from … count − 1.
inline void shapeResponseFrom(int from, const double* const* env, const double* const* table,
                              const double* vol, bool subtractLR, int count, double* out)
{
    const double sign = subtractLR ? -1.0 : 1.0; // exact: only flips the product's sign
    for (int k = from; k < count; ++k)
        out[k] = ((env[0][k] * vol[0]) * table[0][k] + sign * ((env[1][k] * vol[1]) * table[1][k]))
                 + (env[2][k] * vol[2]) * table[2][k];
}

// Interleaved bins into split rows (see SimdKernels::splitBins) for b = from … count − 1.
inline void splitBinsFrom(int from, const double* bins, int count, double* re, double* im)
{
    for (int b = from; b < count; ++b)
    {
        re[b] = bins[2 * b];
        im[b] = bins[2 * b + 1];
    }
}

// Delay-line multiply-accumulate (see SimdKernels::spectrumProducts) for bins from … count − 1.
inline void spectrumProductsFrom(int from, const double* const* x, const double* const* h, int partitions,
                                 long offset, long imOffset, int count, double* out)
{
    for (int i = from; i < count; ++i)
    {
        double re = 0.0, im = 0.0;
        for (int k = 0; k < partitions; ++k)
        {
            const double* xr = x[k] + offset + i;
            const double* hr = h[k] + offset + i;
            re += xr[0] * hr[0] - xr[imOffset] * hr[imOffset];
            im += xr[0] * hr[imOffset] + xr[imOffset] * hr[0];
        }
        out[2 * i] = re;
        out[2 * i + 1] = im;
    }
}

// Pairs of sums (see SimdKernels::spectrumProductPairs) for bins from … count − 1, written as
// the two single sums they are.
inline void spectrumProductPairsFrom(int from, const double* const* x, const double* const* h, int partitions,
                                     long offset, long imOffset, int count, double* now, double* next)
{
    spectrumProductsFrom(from, x, h, partitions, offset, imOffset, count, now);
    if (partitions > 1)
    {
        spectrumProductsFrom(from, x, h + 1, partitions - 1, offset, imOffset, count, next);
    }
    else
    {
        for (int i = from; i < count; ++i)
            next[2 * i] = next[2 * i + 1] = 0.0;
    }
}

} // namespace
