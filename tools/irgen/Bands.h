// Octave-band filter bank: linear-phase FIR kernels that sum to a unit impulse minus a slow
// moving average (a sub-bass high-pass), so a sound with equal gain in every band passes
// unchanged apart from its DC, and a per-band gain set becomes one FIR.
#pragma once

#include "Room.h"

#include <array>

namespace irgen
{
constexpr int kKernelHalf = 255;
constexpr int kKernelLength = 2 * kKernelHalf + 1;   // centre tap at index kKernelHalf

using Kernel = std::array<double, kKernelLength>;

extern const BandValues kBandCentreHz;

class BandKernels
{
public:
    BandKernels();
    // Sum over bands of gain[b] times band kernel b.
    void combine(const BandValues& gain, Kernel& out) const;

private:
    std::array<Kernel, kBands> m_Bands;
};

}  // namespace irgen
