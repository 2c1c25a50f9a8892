#include "ArrivalGains.h"

#include "HeadModel.h"
#include "RoomAcoustics.h"

#include <algorithm>
#include <cmath>

namespace irgen {
ArrivalGains::ArrivalGains(int fftSize)
{
    const size_t n = static_cast<size_t>(fftSize / 2 + 1);
    for (std::vector<double>* v :
         {&m_Hz, &m_Side, &m_End, &m_Floor, &m_Ceiling, &m_Air, &m_Directivity, &m_Limit})
        v->resize(n);
    for (size_t k = 0; k < n; ++k)
    {
        const double hz = static_cast<double>(k) * kSampleRate / fftSize;
        m_Hz[k] = hz;
        m_Side[k] = reflectionNepers(kAbsSideWalls, hz);
        m_End[k] = reflectionNepers(kAbsEndWalls, hz);
        m_Floor[k] = reflectionNepers(kAbsFloor, hz);
        m_Ceiling[k] = reflectionNepers(kAbsCeiling, hz);
        m_Air[k] = airNepersPerMetre(hz);
        m_Directivity[k] = interpolateOctaves(kSourceDirectivity, std::max(hz, 1.0));
        m_Limit[k] = bandLimit(hz);
    }
}

void ArrivalGains::magnitudes(const Arrival& a, double* left, double* right) const
{
    const double spreading = 1.0 / a.distance;
    for (size_t k = 0; k < m_Hz.size(); ++k)
    {
        const double nepers = a.sideHits * m_Side[k] + a.endHits * m_End[k] + a.floorHits * m_Floor[k]
                              + a.ceilingHits * m_Ceiling[k] - a.distance * m_Air[k];
        const double directivity = 1.0 - m_Directivity[k] + m_Directivity[k] * a.cosOffAxis;
        const double common = spreading * std::exp(nepers) * directivity * m_Limit[k];
        left[k] = common * shadowMagnitude(a.trebleGain[kLeftEar], m_Hz[k]);
        right[k] = common * shadowMagnitude(a.trebleGain[kRightEar], m_Hz[k]);
    }
}

} // namespace irgen
