// The room's frequency-dependent behaviour, evaluated at any frequency: material absorption
// interpolated between octave bands in log frequency, the air's attenuation, the diffuse decay
// rate, and the smooth band limit every response in the bank shares.
#pragma once

#include "Room.h"

namespace irgen {
// Octave-band data at `hz`: a smooth step in log2(frequency) between the band centres, held beyond
// the outer ones, so coefficients change smoothly and never step at a band edge.
double interpolateOctaves(const OctaveValues& values, double hz);

// Amplitude attenuation of the air in nepers per metre at `hz` (the stated atmosphere).
double airNepersPerMetre(double hz);

// Pressure reflection factor sqrt(1 - alpha) of a surface, in nepers (a negative number).
double reflectionNepers(const OctaveValues& absorption, double hz);

// Reverberation time (Eyring, with air absorption) and the matching amplitude decay rate of
// the diffuse field, in seconds and nepers per second.
double reverberationTime(double hz);
double diffuseDecayRate(double hz);

// 1 up to kTaperStartHz, a smooth fall to 0 at kTaperEndHz.
double bandLimit(double hz);

} // namespace irgen
