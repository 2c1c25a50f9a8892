// A convolver stage's two real transforms of N = 2c points through FFTW, in double precision:
// N real samples into bins 0 … N/2 (bins 0 and N/2 real, as an ordinary complex array), and
// bins 0 … N/2 back into N·(the samples). The plans are made with FFTW_ESTIMATE, which picks
// the same algorithm on every run, so that renders repeat bit for bit from one process to the
// next; at the stage's sizes they run as fast as measured plans. The plans are made on 64-byte
// aligned buffers and run on the caller's through FFTW's new-array calls, which need the same
// alignment: every AlignedArray, and offsets into one by whole multiples of N doubles.
// Plans are made and destroyed under fftwPlannerMutex(); running them takes no lock.
// No allocation, locking or system calls after construction.
#pragma once

#include "engine/AlignedArray.h"

#include <complex>

struct fftw_plan_s;

class CFftwTransforms
{
public:
    using Complex = std::complex<double>;

    // [main thread] n a power of two, at least 4. Throws std::bad_alloc when FFTW cannot plan.
    explicit CFftwTransforms(int n);
    ~CFftwTransforms();
    CFftwTransforms(const CFftwTransforms&) = delete;
    CFftwTransforms& operator=(const CFftwTransforms&) = delete;

    // [audio thread] Bins 0 … N/2 of the N samples (left unchanged), unscaled.
    const Complex* forward(const double* samples);
    // [audio thread] N·x[0 … N−1] from bins 0 … N/2, whose values it overwrites (FFTW's
    // complex-to-real transforms work in their input). The imaginary parts of bins 0 and N/2
    // are ignored. Zero bins stay zero.
    const double* inverse(Complex* bins);

    int size() const { return m_nSize; }

private:
    int m_nSize;
    AlignedArray<Complex> m_Spectrum; // forward's result: N/2 + 1 bins
    AlignedArray<double> m_Time;      // inverse's result: N samples
    fftw_plan_s* m_pForward;
    fftw_plan_s* m_pInverse;
};
