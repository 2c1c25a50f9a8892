// A convolver stage's two real transforms of N = 2c points in single precision, through FFTW's
// single-precision plans: c samples (zero-padded to N) into bins 0 … c, and bins 0 … c back into
// N·(the samples). The plans are made once per size for the whole process, with FFTW_ESTIMATE
// (the same algorithm on every run, so that renders repeat bit for bit from one process to the
// next), under one process-wide planner lock (and FFTW's own, which it is told to take for every
// planner call in the process), and shared by every stage of that size; running a plan takes
// no lock. Each object owns the 64-byte aligned buffers the plans run on, so stages
// that one thread runs in turn may share one object, and stages on different threads may not.
// No allocation, locking or system calls after construction.
#pragma once

#include "engine/AlignedArray.h"
#include "engine/SimdKernels.h"

#include <complex>
#include <memory>

class CSingleTransforms
{
public:
    using Complex = std::complex<double>;
    using Bin = std::complex<float>;

    // [main thread] n a power of two, at least 4. Throws std::bad_alloc when FFTW cannot plan.
    explicit CSingleTransforms(int n);
    ~CSingleTransforms();
    CSingleTransforms(const CSingleTransforms&) = delete;
    CSingleTransforms& operator=(const CSingleTransforms&) = delete;

    // [audio thread] Bins 0 … N/2 (0 and N/2 real) of the N/2 given samples followed by N/2
    // zeros, unscaled.
    const Bin* forwardPadded(const double* samples);
    // [audio thread] N·x[0 … N−1] from bins 0 … N/2; the imaginary parts of bins 0 and N/2 are
    // ignored. The bins are left unchanged.
    const float* inverse(const Complex* bins);

    int size() const { return m_nSize; }

    struct Plans; // the shared plans of one size

private:
    int m_nSize;
    std::shared_ptr<const Plans> m_pPlans;
    AlignedArray<float> m_Padded; // N samples: the forward's input, its upper half zero
    AlignedArray<float> m_Time;   // N samples: the inverse's result
    AlignedArray<Bin> m_Bins;     // N/2 + 1 bins: the forward's result, the inverse's input
    const SimdKernels& m_Kernels; // the narrowing into the buffers
};
