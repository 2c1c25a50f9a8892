#include "engine/CDecayEnvelope.h"

#include <algorithm>
#include <cmath>

CDecayEnvelope::CDecayEnvelope(int partitionSize)
    : m_Powers(static_cast<std::size_t>(std::max(partitionSize, 1)))
    , m_Kernels(selectKernels())
{
}

void CDecayEnvelope::set(double absorption, int sampleRate, int curveType)
{
    m_dAbsorption = (std::isfinite(absorption) && absorption > 0.0) ? absorption : 0.0;
    m_dSampleRate = static_cast<double>(std::max(sampleRate, 1));
    m_nSeedStart = -1;
    if (curveType == 0) {
        m_eLaw = Law::kExponential;
        buildPowers();
    } else {
        m_eLaw = Law::kHyperbolic;
        m_dHyperbolicRate = m_dAbsorption * 7.5 + 0.07;
    }
}

// Powers of two are exact exponentials; every other entry is the product of its highest
// power of two and the rest, so an entry carries at most log2(c) roundings (about 1e-15).
void CDecayEnvelope::buildPowers()
{
    const int n = static_cast<int>(m_Powers.size());
    double* p = m_Powers.get();
    p[0] = 1.0;
    for (int m = 1; m < n; m *= 2) {
        p[m] = std::exp(-(static_cast<double>(m) * m_dAbsorption) / m_dSampleRate);
        for (int k = 1; k < m && m + k < n; ++k)
            p[m + k] = p[m] * p[k];
    }
}

void CDecayEnvelope::fill(int partitionStart, int offset, int count, double* out)
{
    switch (m_eLaw) {
    case Law::kZero:
        std::fill(out, out + count, 0.0);
        return;
    case Law::kExponential: {
        if (partitionStart != m_nSeedStart) {
            m_dSeed = std::exp(-(static_cast<double>(partitionStart) * m_dAbsorption) / m_dSampleRate);
            m_nSeedStart = partitionStart;
        }
        const double seed = m_dSeed;
        const double* p = m_Powers.get() + offset;
        for (int k = 0; k < count; ++k)
            out[k] = seed * p[k];
        return;
    }
    case Law::kHyperbolic: {
        // One division per index: the vector kernel does four at a time.
        m_Kernels.hyperbolicEnvelope(partitionStart + offset, m_dSampleRate, m_dHyperbolicRate, count, out);
        return;
    }
    }
}
