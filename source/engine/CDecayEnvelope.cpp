#include "engine/CDecayEnvelope.h"

#include <algorithm>
#include <cmath>

CDecayEnvelope::CDecayEnvelope()
    : m_Fine(kStep)
    , m_Kernels(selectKernels())
{}

bool CDecayEnvelope::wouldChange(double absorption, int sampleRate, int curveType) const
{
    const double a = (std::isfinite(absorption) && absorption > 0.0) ? absorption : 0.0;
    const double fs = static_cast<double>(std::max(sampleRate, 1));
    const Law law = curveType == 0 ? Law::kExponential : Law::kHyperbolic;
    return law != m_eLaw || a != m_dAbsorption || fs != m_dSampleRate;
}

bool CDecayEnvelope::set(double absorption, int sampleRate, int curveType)
{
    if (!wouldChange(absorption, sampleRate, curveType))
        return false;
    const double a = (std::isfinite(absorption) && absorption > 0.0) ? absorption : 0.0;
    const double fs = static_cast<double>(std::max(sampleRate, 1));
    m_dAbsorption = a;
    m_dSampleRate = fs;
    m_nSeedStart = -1;
    if (curveType == 0)
    {
        // The tables are built by the first fill that needs them: settings moved several
        // times between two shapings (automation) cost one build, not one each.
        m_eLaw = Law::kExponential;
        m_bPowersStale = true;
    }
    else
    {
        m_eLaw = Law::kHyperbolic;
        m_dHyperbolicRate = m_dAbsorption * 7.5 + 0.07;
    }
    return true;
}

// table[m] = exp(−(m·unit·a)/fs): one exponential at m = 1, each further power of two the
// square of the last (about one rounding more per doubling, far below the tables' other
// roundings' reach), every other entry the product of its highest power of two and the rest.
// Entries from `from` to `to` (inclusive), in increasing order: each reads only earlier ones.
void CDecayEnvelope::extendTable(double* table, int from, int to, int unit) const
{
    for (int i = from; i <= to; ++i)
    {
        if (i == 0)
        {
            table[0] = 1.0;
            continue;
        }
        if (i == 1)
        {
            table[1] = std::exp(-(static_cast<double>(unit) * m_dAbsorption) / m_dSampleRate);
            continue;
        }
        int high = 1;
        while (high * 2 <= i)
            high *= 2;
        table[i] = i == high ? table[high / 2] * table[high / 2] : table[high] * table[i - high];
    }
}

// The fine table and the coarse table's powers of two; a coarse entry is formed when a fill
// reaches it (under automation a setting lives for a few chunks, which read a few of the
// partition's c/16 coarse entries).
void CDecayEnvelope::buildPowers()
{
    extendTable(m_Fine.get(), 0, kStep - 1, 1);
    m_Powers[0] = std::exp(-(static_cast<double>(kStep) * m_dAbsorption) / m_dSampleRate);
    for (int p = 1; p < kMaxPowers; ++p)
        m_Powers[p] = m_Powers[p - 1] * m_Powers[p - 1];
}

// Coarse entry j as extendTable forms it: the highest power of two times the entry of the
// rest, which unrolls to the powers of j's bits multiplied from the lowest bit up.
double CDecayEnvelope::coarse(int j) const
{
    if (j == 0)
        return 1.0;
    int bit = 0;
    while ((j & (1 << bit)) == 0)
        ++bit;
    double value = m_Powers[bit];
    for (++bit; (j >> bit) != 0; ++bit)
        if ((j & (1 << bit)) != 0)
            value = m_Powers[bit] * value;
    return value;
}

void CDecayEnvelope::fill(int partitionStart, int offset, int count, double* out)
{
    switch (m_eLaw)
    {
    case Law::kZero: std::fill(out, out + count, 0.0); return;
    case Law::kExponential:
    {
        if (m_bPowersStale)
        {
            buildPowers();
            m_bPowersStale = false;
        }
        if (partitionStart != m_nSeedStart)
        {
            m_dSeed = std::exp(-(static_cast<double>(partitionStart) * m_dAbsorption) / m_dSampleRate);
            m_nSeedStart = partitionStart;
        }
        const double seed = m_dSeed;
        const double* fine = m_Fine.get();
        for (int k = 0; k < count;)
        {
            // A run of offsets with one coarse entry: one product for the run.
            const int at = offset + k;
            const int run = std::min(count - k, kStep - at % kStep);
            const double base = seed * coarse(at / kStep);
            const double* f = fine + at % kStep;
            for (int r = 0; r < run; ++r)
                out[k + r] = base * f[r];
            k += run;
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
