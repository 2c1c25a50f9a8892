// A spherical head: ear delays by the Woodworth path around the sphere, ear levels by a
// one-pole/one-zero head-shadow filter (Brown and Duda), whose magnitude varies smoothly with
// frequency from 0 dB in the bass to the treble level set by the angle of incidence.
#pragma once

#include "Room.h"

namespace irgen {
// Extra path in metres from the head centre to the ear for sound arriving from direction u
// (unit vector from the head towards the source): negative on the lit side.
double earExtraPath(const Vec3& u, int ear);

// Treble gain of the head-shadow filter for sound arriving from direction u: 2 (+6 dB) facing
// the ear, about 0.1 (-20 dB) at 150 degrees from it.
double shadowTrebleGain(const Vec3& u, int ear);

// The shadow filter's magnitude at `hz` for a given treble gain.
double shadowMagnitude(double trebleGain, double hz);

} // namespace irgen
