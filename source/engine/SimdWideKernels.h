// The wide kernels that the AVX2 and AVX-512 sets share, written once over a register type.
// V supplies the register (V::Reg), its width in doubles (V::kLanes) and the operations:
// zero, load (aligned), loadu, storeu, add, sub, mul, fmadd (a·b + c), fnmadd (c − a·b),
// swapPairs (re ↔ im within each complex value) and storeComplex (kLanes bins given as re and
// im registers, stored as interleaved complex values). Each set's file defines its V in an
// anonymous namespace and is compiled for its own instruction set, so every instantiation is
// local to that file: no code built for a wider set can be shared with a narrower one.
//
// The operations and their order are the same for every V, so all sets give the same sums.
#pragma once

#include "engine/SimdScalarSteps.h"

namespace {

// Products of the delay line's spectra, summed over the partitions: four registers of bins per
// step (independent accumulator chains cover the FMA latency, and each partition's rows are read
// as whole cache lines), then one register per step, then the scalar rest.
template <class V>
void wideSpectrumProducts(const double* const* x, const double* const* h, int partitions, long offset,
                          long imOffset, int count, double* out)
{
    using R = typename V::Reg;
    constexpr int kLanes = V::kLanes;
    int i = 0;
    for (; i + 4 * kLanes <= count; i += 4 * kLanes)
    {
        const long b = offset + i;
        R re[4], im[4];
        for (int v = 0; v < 4; ++v)
            re[v] = im[v] = V::zero();
        for (int k = 0; k < partitions; ++k)
        {
            const double* xr = x[k] + b;
            const double* hr = h[k] + b;
            for (int v = 0; v < 4; ++v)
            {
                const R vxr = V::load(xr + kLanes * v), vxi = V::load(xr + imOffset + kLanes * v);
                const R vhr = V::load(hr + kLanes * v), vhi = V::load(hr + imOffset + kLanes * v);
                re[v] = V::fnmadd(vxi, vhi, V::fmadd(vxr, vhr, re[v]));
                im[v] = V::fmadd(vxi, vhr, V::fmadd(vxr, vhi, im[v]));
            }
        }
        for (int v = 0; v < 4; ++v)
            V::storeComplex(out + 2 * (i + kLanes * v), re[v], im[v]);
    }
    for (; i + kLanes <= count; i += kLanes)
    {
        const long b = offset + i;
        R re = V::zero(), im = re;
        for (int k = 0; k < partitions; ++k)
        {
            const R vxr = V::load(x[k] + b), vxi = V::load(x[k] + imOffset + b);
            const R vhr = V::load(h[k] + b), vhi = V::load(h[k] + imOffset + b);
            re = V::fnmadd(vxi, vhi, V::fmadd(vxr, vhr, re));
            im = V::fmadd(vxi, vhr, V::fmadd(vxr, vhi, im));
        }
        V::storeComplex(out + 2 * i, re, im);
    }
    spectrumProductsFrom(i, x, h, partitions, offset, imOffset, count, out);
}

// One register of bins per step, eight independent accumulator chains (each product term
// apart). Each partition's input row is read once and used twice: against its own response,
// and, from the next partition on, against the response one further.
template <class V>
void wideSpectrumProductPairs(const double* const* x, const double* const* h, int partitions, long offset,
                              long imOffset, int count, double* now, double* next)
{
    using R = typename V::Reg;
    constexpr int kLanes = V::kLanes;
    int i = 0;
    for (; i + kLanes <= count; i += kLanes)
    {
        const long b = offset + i;
        R arr = V::zero(), aii = arr, ari = arr, air = arr;
        R brr = arr, bii = arr, bri = arr, bir = arr;
        R pr = arr, pi = arr; // the previous partition's input bins
        for (int k = 0; k < partitions; ++k)
        {
            const R xr = V::load(x[k] + b), xi = V::load(x[k] + imOffset + b);
            const R hr = V::load(h[k] + b), hi = V::load(h[k] + imOffset + b);
            arr = V::fmadd(xr, hr, arr);
            aii = V::fmadd(xi, hi, aii);
            ari = V::fmadd(xr, hi, ari);
            air = V::fmadd(xi, hr, air);
            // k = 0 adds 0 · h[0] here, exactly nothing for finite spectra.
            brr = V::fmadd(pr, hr, brr);
            bii = V::fmadd(pi, hi, bii);
            bri = V::fmadd(pr, hi, bri);
            bir = V::fmadd(pi, hr, bir);
            pr = xr;
            pi = xi;
        }
        V::storeComplex(now + 2 * i, V::sub(arr, aii), V::add(ari, air));
        V::storeComplex(next + 2 * i, V::sub(brr, bii), V::add(bri, bir));
    }
    spectrumProductPairsFrom(i, x, h, partitions, offset, imOffset, count, now, next);
}

// (a − b)·w for the complex values of one register and their twiddle rows.
template <class V>
typename V::Reg wideTwiddled(typename V::Reg d, const double* rr, const double* ri)
{
    return V::fmadd(d, V::loadu(rr), V::mul(V::swapPairs(d), V::loadu(ri)));
}

// Two butterfly stages fused: quarters a, b, c, d of each group of span 2·halfSpan; the first
// stage pairs (a, c) and (b, d), the second (a', b') and (c', d'), all in registers. A quarter
// (halfSpan doubles) must hold whole registers.
template <class V>
void wideDifStagePair(double* buf, int count, int halfSpan, const double* rr, const double* ri,
                      const double* rr2, const double* ri2)
{
    using R = typename V::Reg;
    const int quarter = halfSpan; // doubles in a quarter: halfSpan/2 complex values
    for (int g = 0; g < count; g += 2 * halfSpan)
    {
        double* a = buf + 2 * g;
        double* b = a + quarter;
        double* c = a + 2 * quarter;
        double* d = a + 3 * quarter;
        for (int j = 0; j < quarter; j += V::kLanes)
        {
            const R va = V::loadu(a + j), vb = V::loadu(b + j);
            const R vc = V::loadu(c + j), vd = V::loadu(d + j);
            const R a1 = V::add(va, vc), b1 = V::add(vb, vd);
            const R c1 = wideTwiddled<V>(V::sub(va, vc), rr + j, ri + j);
            const R d1 = wideTwiddled<V>(V::sub(vb, vd), rr + quarter + j, ri + quarter + j);
            V::storeu(a + j, V::add(a1, b1));
            V::storeu(b + j, wideTwiddled<V>(V::sub(a1, b1), rr2 + j, ri2 + j));
            V::storeu(c + j, V::add(c1, d1));
            V::storeu(d + j, wideTwiddled<V>(V::sub(c1, d1), rr2 + j, ri2 + j));
        }
    }
}

} // namespace
