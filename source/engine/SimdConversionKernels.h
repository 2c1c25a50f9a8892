// The conversions around the single-precision transforms (see SimdKernels): doubles rounded to
// floats, the inverse's floats widened into the overlap-add, and single-precision bins split into
// rows, as plain loops the compiler vectorises for the instruction set of the file including
// this header. Each set's file includes it, and the anonymous namespace keeps each copy to the
// set it was built for. Every set gives the same bits: a rounding is a rounding, and the
// widened sample times 1/2c is exact, so a fused multiply-add rounds the sum alone, as the
// separate add does.
#pragma once

namespace {

inline void narrowSamplesLoop(const double* __restrict in, int count, float* __restrict out)
{
    for (int i = 0; i < count; ++i)
        out[i] = static_cast<float>(in[i]);
}

inline void overlapAddHead(const float* __restrict y, int c, double scale, const double* __restrict tail,
                           double* __restrict head)
{
    for (int n = 0; n < c; ++n)
        head[n] = static_cast<double>(y[n]) * scale + tail[n];
}

inline void scaleTail(const float* __restrict y, int c, double scale, double* __restrict tail)
{
    for (int n = 0; n < c; ++n)
        tail[n] = static_cast<double>(y[n]) * scale;
}

inline void widenOverlapAddLoop(const float* y, int c, double scale, double* out)
{
    overlapAddHead(y, c, scale, out + c, out); // reads the old tail before it is replaced
    scaleTail(y + c, c, scale, out + c);
}

inline void splitSingleBinsLoop(const float* __restrict bins, int count, float* __restrict re,
                                float* __restrict im)
{
    for (int b = 0; b < count; ++b)
    {
        re[b] = bins[2 * b];
        im[b] = bins[2 * b + 1];
    }
}

} // namespace
