// Renders the image-source arrivals of one position into its component tables, fading them
// out where the diffuse tail takes over. Each arrival is written in the frequency domain: its
// smooth magnitude response at every bin times the phase of its exact fractional arrival
// time, so neither band filters nor sample interpolation colour it.
#pragma once

#include "Arrivals.h"
#include "PositionTables.h"

namespace irgen {
// Amplitude weight of an image arrival emitted at time t (seconds): 1, then a quarter-cosine
// fade to 0 across kImageFadeStart .. kImageEnd. The tail fades in with the matching sine.
double imageFade(double t);

void renderArrivals(const std::vector<Arrival>& arrivals, PositionTables& tables);

} // namespace irgen
