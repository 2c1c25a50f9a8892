// The late diffuse tail: sparse random impulses (one per four-sample cell, random sign and
// place), shaped band by band so that each band continues the level the image sources reach
// before the fade and then decays at the room's reverberation rate for that band. FB, CF and LR
// each get an independent impulse stream, so the ears (FB + CF +- LR) are decorrelated down to the
// diffuse-field coherence, and the FB and CF parts of the tail are incoherent, as late energy
// arriving over different surfaces is.
#pragma once

#include "Arrivals.h"
#include "PositionTables.h"

#include <cstdint>

namespace irgen
{
void renderDiffuseTail(const std::vector<Arrival>& arrivals, const BandKernels& bands,
                       uint64_t seed, PositionTables& tables);

}  // namespace irgen
