// The three component tables of one source position and how arrivals are written into them:
// left ear = FB + CF + LR, right ear = FB + CF - LR.
#pragma once

#include "Bands.h"

#include <vector>

namespace irgen
{
struct PositionTables
{
    std::vector<double> fb = std::vector<double>(kResponseLength, 0.0);
    std::vector<double> lr = std::vector<double>(kResponseLength, 0.0);
    std::vector<double> cf = std::vector<double>(kResponseLength, 0.0);
};

// Adds `weight` times `kernel`, centred on the fractional sample `time`, to `target`
// (linear interpolation between the two neighbouring integer placements).
void addKernel(std::vector<double>& target, const Kernel& kernel, double time, double weight);

// Adds one ear's signal piece to the components: half of it to the common part, split between
// FB and CF by shareFB, and plus or minus half of it to LR.
void addEarPiece(PositionTables& tables, int ear, const Kernel& kernel, double time,
                 double shareFB);

}  // namespace irgen
