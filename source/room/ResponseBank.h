// The impulse-response bank: 33 component tables of 69632 doubles, compiled into the module
// read-only and shared by every instance. Table order: positions from the last (R90) to the
// first (Center), three tables each, in the order CF, LR, FB.
#pragma once

#include "engine/IResponseTables.h"
#include "room/RoomConstants.h"

constexpr int kTableCount = 33;
constexpr int kPositionCount = 11;

extern "C" const double kRoomResponses[]; // kTableCount * kResponseLength samples

// First sample of table k (0 .. 32).
inline const double* roomResponseTable(int k)
{
    return kRoomResponses + static_cast<long>(k) * kResponseLength;
}

// Table indices of the three components of position p (0 Center .. 10 R90).
constexpr int fbTableOf(int p) { return 32 - 3 * p; }
constexpr int lrTableOf(int p) { return 31 - 3 * p; }
constexpr int cfTableOf(int p) { return 30 - 3 * p; }

// The bank as the convolver stages see it.
const IResponseTables& roomResponseBank();
