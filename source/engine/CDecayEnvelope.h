// A decay envelope over absolute response indices i, produced on demand for the partition a
// convolver stage is shaping rather than stored for every index:
//   exponential law (curve 0):  env[i] = exp(−(i·a) / fs)
//   hyperbolic law (others):    env[i] = fs / (i·(a·7.5 + 0.07) + fs)
// The exponential is formed as exp(−(start·a)/fs) · exp(−(16j·a)/fs) · exp(−(k·a)/fs) for
// offset 16j + k within a partition, the last two factors tabulated per setting (c/16 and 16
// entries, the coarse ones only as far as the shaping reaches before the next change), so a
// change of setting costs two exponentials and a few products instead of one exponential per
// index of the response: controls moved in every host block stay cheap.
// Before the first set() the envelope is zero everywhere.
// No allocation, locking or system calls after construction.
#pragma once

#include "engine/AlignedArray.h"
#include "engine/SimdKernels.h"

class CDecayEnvelope
{
public:
    CDecayEnvelope();

    // [audio or main thread, never concurrently with fill] A negative or non-finite
    // absorption counts as 0, a sample rate below 1 as 1. Returns false when the envelope is
    // the one it already was (nothing is rebuilt then).
    bool set(double absorption, int sampleRate, int curveType);
    // Whether set with these arguments would change the envelope.
    bool wouldChange(double absorption, int sampleRate, int curveType) const;

    // Whether other gives the same envelope.
    bool sameAs(const CDecayEnvelope& other) const
    {
        return m_eLaw == other.m_eLaw && m_dAbsorption == other.m_dAbsorption
               && m_dSampleRate == other.m_dSampleRate;
    }

    // [audio thread] out[k] = env[partitionStart + offset + k] for k < count, where
    // 0 <= offset, offset + count within the partition's length.
    void fill(int partitionStart, int offset, int count, double* out);

private:
    enum class Law
    {
        kZero,
        kExponential,
        kHyperbolic
    };

    static constexpr int kStep = 16;      // offsets per entry of the coarse table
    static constexpr int kMaxPowers = 27; // coarse entries up to 2^27, offsets up to 2^31

    void buildPowers();
    void extendTable(double* table, int from, int to, int unit) const;
    double coarse(int j) const; // exp(−(16j·a)/fs), j < 2^kMaxPowers

    Law m_eLaw = Law::kZero;
    double m_dAbsorption = 0.0;
    double m_dSampleRate = 1.0;
    double m_dHyperbolicRate = 0.0;   // a·7.5 + 0.07
    AlignedArray<double> m_Fine;      // exp(−(k·a)/fs), k < 16
    bool m_bPowersStale = false;      // m_Fine and m_Powers still to be built for the setting
    double m_Powers[kMaxPowers] = {}; // exp(−(16·2^p·a)/fs)
    int m_nSeedStart = -1;            // partition start of m_dSeed; −1: none
    double m_dSeed = 0.0;             // exp(−(start·a)/fs)
    const SimdKernels& m_Kernels;
};
