// A spherical head: ear delays by the Woodworth path around the sphere, ear levels by a
// one-pole/one-zero head-shadow filter (Brown and Duda) evaluated at the band centres.
#pragma once

#include "Room.h"

namespace irgen
{
// Extra path in metres from the head centre to the ear for sound arriving from direction u
// (unit vector from the head towards the source): negative on the lit side.
double earExtraPath(const Vec3& u, int ear);

// Head-shadow magnitude per band for sound arriving from direction u.
BandValues headShadow(const Vec3& u, int ear);

}  // namespace irgen
