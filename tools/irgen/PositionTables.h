// The three component tables of one source position: left ear = FB + CF + LR, right ear =
// FB + CF - LR.
#pragma once

#include "Room.h"

#include <vector>

namespace irgen {
struct PositionTables
{
    std::vector<double> fb = std::vector<double>(kResponseLength, 0.0);
    std::vector<double> lr = std::vector<double>(kResponseLength, 0.0);
    std::vector<double> cf = std::vector<double>(kResponseLength, 0.0);
};

// Weights with which one ear's signal enters the components: half of it to the common part,
// split between FB and CF by shareFB, and plus or minus half of it to LR.
struct EarWeights
{
    double fb, cf, lr;
};
EarWeights earWeights(int ear, double shareFB);

// The source radiates no DC: a causal second-order high-pass at kHighPassHz on every table
// (causal, so nothing reaches back before the direct sound). The all-positive image
// reflections would otherwise pile up a sub-bass offset that no diffuse tail could continue.
void removeSubsonic(PositionTables& tables);

// Nothing reaches the ears before the direct sound; what the tables hold there is only the
// faint acausal ringing (around a millionth of the peak) of later arrivals' zero-phase kernels,
// whose absorption varies on the scale of the bass octaves. A smooth fade-in over the first
// kLeadIn samples, well clear of the direct sound's own kernel, removes it.
constexpr int kLeadIn = 256;
void fadeInLeadIn(PositionTables& tables);

// Every table ends in the bank's tail fade (room/BankTailFade.h), so that no setting of the
// envelopes at any sample rate leaves the response to stop with a cut.
void fadeOutTail(PositionTables& tables);

} // namespace irgen
