// The late diffuse tail: flat noise (FlatNoise.h) shaped bin by bin in short overlapping frames,
// so that every frequency continues the level the image sources reach before the fade and then
// decays at the room's own rate for that frequency; rates and levels vary smoothly with
// frequency, with no band edges, and the band levels follow that design rather than chance.
// Each ear gets its own stream, decorrelated from the other down to the diffuse-field coherence;
// the FB and CF parts of the tail are incoherent, as late energy arriving over different
// surfaces is.
#pragma once

#include "Arrivals.h"
#include "PositionTables.h"

#include <cstdint>

namespace irgen {
void renderDiffuseTail(const std::vector<Arrival>& arrivals, uint64_t seed, PositionTables& tables);

} // namespace irgen
