// The late diffuse tail: white noise shaped bin by bin in short overlapping frames, so that
// every frequency continues the level the image sources reach before the fade and then decays
// at the room's own rate for that frequency; rates and levels vary smoothly with frequency,
// with no band edges. FB, CF and LR each get an independent noise stream, so the ears
// (FB + CF +- LR) are decorrelated down to the diffuse-field coherence, and the FB and CF parts
// of the tail are incoherent, as late energy arriving over different surfaces is.
#pragma once

#include "Arrivals.h"
#include "PositionTables.h"

#include <cstdint>

namespace irgen {
void renderDiffuseTail(const std::vector<Arrival>& arrivals, uint64_t seed, PositionTables& tables);

} // namespace irgen
