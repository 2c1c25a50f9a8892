// How close a convolver stage's (or the room's) output comes to a direct convolution computed in
// double precision. With double-precision spectra the difference is round-off, held to the
// tight bound each check names; with single-precision spectra it stays within -120 dB of the
// reference's peak: the largest difference at most 1e-6 of it.
#pragma once

#include "engine/SpectrumPrecision.h"

namespace TestSupport {

constexpr double kSinglePrecisionShare = 1e-6; // -120 dB

inline double spectrumBound(double doubleBound, double referencePeak)
{
    return kDefaultSpectrumPrecision == SpectrumPrecision::kDouble ? doubleBound
                                                                   : kSinglePrecisionShare * referencePeak;
}

} // namespace TestSupport
