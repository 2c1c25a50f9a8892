#include "engine/CDecayEnvelope.h"

#include <algorithm>
#include <cmath>

CDecayEnvelope::CDecayEnvelope(int partitionSize)
    : m_Coarse(static_cast<std::size_t>(std::max(partitionSize / kStep, 1)))
    , m_Fine(kStep)
    , m_Kernels(selectKernels())
{}

void CDecayEnvelope::set(double absorption, int sampleRate, int curveType)
{
    m_dAbsorption = (std::isfinite(absorption) && absorption > 0.0) ? absorption : 0.0;
    m_dSampleRate = static_cast<double>(std::max(sampleRate, 1));
    m_nSeedStart = -1;
    if (curveType == 0)
    {
        m_eLaw = Law::kExponential;
        buildPowers();
    }
    else
    {
        m_eLaw = Law::kHyperbolic;
        m_dHyperbolicRate = m_dAbsorption * 7.5 + 0.07;
    }
}

void CDecayEnvelope::buildTable(double* table, int count, int unit) const
{
    table[0] = 1.0;
    for (int m = 1; m < count; m *= 2)
    {
        // One exponential per table; each further power of two squares the last (about one
        // rounding more per doubling, far below the tables' other roundings' reach).
        table[m] = m == 1 ? std::exp(-(static_cast<double>(unit) * m_dAbsorption) / m_dSampleRate)
                          : table[m / 2] * table[m / 2];
        for (int k = 1; k < m && m + k < count; ++k)
            table[m + k] = table[m] * table[k];
    }
}

void CDecayEnvelope::buildPowers()
{
    buildTable(m_Coarse.get(), static_cast<int>(m_Coarse.size()), kStep);
    buildTable(m_Fine.get(), kStep, 1);
}

void CDecayEnvelope::fill(int partitionStart, int offset, int count, double* out)
{
    switch (m_eLaw)
    {
    case Law::kZero: std::fill(out, out + count, 0.0); return;
    case Law::kExponential:
    {
        if (partitionStart != m_nSeedStart)
        {
            m_dSeed = std::exp(-(static_cast<double>(partitionStart) * m_dAbsorption) / m_dSampleRate);
            m_nSeedStart = partitionStart;
        }
        const double seed = m_dSeed;
        const double* coarse = m_Coarse.get();
        const double* fine = m_Fine.get();
        for (int k = 0; k < count; ++k)
        {
            const int at = offset + k;
            out[k] = (seed * coarse[at / kStep]) * fine[at % kStep];
        }
        return;
    }
    case Law::kHyperbolic:
    {
        // One division per index: the vector kernel does four at a time.
        m_Kernels.hyperbolicEnvelope(partitionStart + offset, m_dSampleRate, m_dHyperbolicRate, count, out);
        return;
    }
    }
}
