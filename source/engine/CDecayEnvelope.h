// A decay envelope over absolute response indices i, produced on demand for the partition a
// convolver stage is gathering rather than stored for every index:
//   exponential law (curve 0):  env[i] = exp(−(i·a) / fs)
//   hyperbolic law (others):    env[i] = fs / (i·(a·7.5 + 0.07) + fs)
// The exponential is formed as exp(−(start·a)/fs) · exp(−(16j·a)/fs) · exp(−(k·a)/fs) for
// offset 16j + k within a partition, the last two factors tabulated per setting (c/16 and 16
// entries), so a change of setting costs two exponentials and a pass over c/16 + 16 entries
// instead of one exponential per index of the response: controls moved in every host block
// stay cheap.
// Before the first set() the envelope is zero everywhere.
// No allocation, locking or system calls after construction.
#pragma once

#include "engine/AlignedArray.h"
#include "engine/SimdKernels.h"

class CDecayEnvelope
{
public:
    // partitionSize: the longest run fill() is asked for within one partition.
    explicit CDecayEnvelope(int partitionSize);

    // [audio or main thread, never concurrently with fill] A negative or non-finite
    // absorption counts as 0, a sample rate below 1 as 1.
    void set(double absorption, int sampleRate, int curveType);

    // [audio thread] out[k] = env[partitionStart + offset + k] for k < count, where
    // offset + count <= partitionSize.
    void fill(int partitionStart, int offset, int count, double* out);

private:
    enum class Law
    {
        kZero,
        kExponential,
        kHyperbolic
    };

    static constexpr int kStep = 16; // offsets per entry of the coarse table

    void buildPowers();
    // table[m] = exp(−(m·unit·a)/fs) for m < count: one exponential at m = 1, squares at the
    // further powers of two, every other entry the product of its highest power of two and the
    // rest (a few roundings: relative error of order 1e-15).
    void buildTable(double* table, int count, int unit) const;

    Law m_eLaw = Law::kZero;
    double m_dAbsorption = 0.0;
    double m_dSampleRate = 1.0;
    double m_dHyperbolicRate = 0.0; // a·7.5 + 0.07
    AlignedArray<double> m_Coarse;  // exp(−(16j·a)/fs), j < partitionSize / 16 (at least 1)
    AlignedArray<double> m_Fine;    // exp(−(k·a)/fs), k < 16
    int m_nSeedStart = -1;          // partition start of m_dSeed; −1: none
    double m_dSeed = 0.0;           // exp(−(start·a)/fs)
    const SimdKernels& m_Kernels;
};
