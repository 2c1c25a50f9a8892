#include "Bands.h"

#include <cmath>

namespace irgen
{
const BandValues kBandCentreHz = {125.0, 250.0, 500.0, 1000.0, 2000.0, 4000.0, 8000.0};

namespace
{
// Blackman-windowed sinc low-pass with unit DC gain (normalised by its sum, so differences of
// two such low-passes have exactly zero DC and the bank stays complementary).
Kernel lowPass(double cutoffHz)
{
    Kernel k{};
    double sum = 0.0;
    for (int i = 0; i < kKernelLength; ++i)
    {
        const double n = i - kKernelHalf;
        const double wc = 2.0 * kPi * cutoffHz / kSampleRate;
        double sinc = (n == 0.0) ? wc / kPi : std::sin(wc * n) / (kPi * n);
        if (cutoffHz <= 0.0)
            sinc = 1.0;   // the bare window: a moving average, the high-pass's complement
        const double phase = 2.0 * kPi * i / (kKernelLength - 1);
        const double window = 0.42 - 0.5 * std::cos(phase) + 0.08 * std::cos(2.0 * phase);
        k[i] = sinc * window;
        sum += k[i];
    }
    for (double& v : k)
        v /= sum;
    return k;
}
}  // namespace

BandKernels::BandKernels()
{
    // Band edges at the geometric mid-points between centres; the outer bands reach to DC and
    // to the Nyquist frequency.
    // The lowest band starts above DC: a real source radiates no DC, and without this high-pass
    // (the bank's only departure from a flat sum) the all-positive image reflections would pile up
    // a sub-bass offset that no diffuse tail could continue.
    Kernel previous = lowPass(0.0);
    for (int b = 0; b < kBands; ++b)
    {
        Kernel upper{};
        if (b + 1 < kBands)
            upper = lowPass(std::sqrt(kBandCentreHz[b] * kBandCentreHz[b + 1]));
        else
            upper[kKernelHalf] = 1.0;
        for (int i = 0; i < kKernelLength; ++i)
            m_Bands[b][i] = upper[i] - previous[i];
        previous = upper;
    }
}

void BandKernels::combine(const BandValues& gain, Kernel& out) const
{
    out.fill(0.0);
    for (int b = 0; b < kBands; ++b)
    {
        const double g = gain[b];
        const Kernel& band = m_Bands[b];
        for (int i = 0; i < kKernelLength; ++i)
            out[i] += g * band[i];
    }
}

}  // namespace irgen
