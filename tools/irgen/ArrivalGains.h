// The magnitude response of an image arrival at each ear, evaluated bin by bin on the grid of
// a real FFT: spherical spreading 1/r, the pressure reflection factor of every surface it met,
// the air over its path, the source's directivity in the direction the ray left it, the head
// shadow at the ear and the bank's band limit. Every factor is a smooth function of frequency,
// so the response has no band edges anywhere. The source's own spectrum is flat: on its axis,
// which points at the listener, it adds nothing.
#pragma once

#include "Arrivals.h"

#include <vector>

namespace irgen {
class ArrivalGains
{
public:
    // Bins 0 .. fftSize / 2 of an fftSize-point transform at kSampleRate.
    explicit ArrivalGains(int fftSize);

    int bins() const { return static_cast<int>(m_Hz.size()); }
    double frequency(int bin) const { return m_Hz[static_cast<size_t>(bin)]; }

    // Magnitudes of arrival a at the left and the right ear, one per bin.
    void magnitudes(const Arrival& a, double* left, double* right) const;

private:
    std::vector<double> m_Hz, m_Side, m_End, m_Floor, m_Ceiling, m_Air, m_Directivity, m_Limit;
};

} // namespace irgen
