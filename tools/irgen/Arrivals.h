// Image-source arrivals at the two ears of the listener for one source position.
#pragma once

#include "Room.h"

#include <vector>

namespace irgen
{
constexpr int kLeftEar = 0;
constexpr int kRightEar = 1;

struct Arrival
{
    double emission = 0.0;      // path length / speed of sound, seconds (head centre)
    double time[2] = {};        // arrival at each ear, in samples (fractional)
    BandValues gain[2] = {};    // per-ear band gains: spreading, walls, air, source, head
    double shareFB = 0.5;       // fraction of the ears' common part that goes to FB (rest: CF)
};

// Where the source of a position stands: on a circle around the head, at the distance that
// brings the direct sound to the nearer ear at kDirectSample.
Vec3 sourcePosition(int position);

// Every image source whose path is shorter than kImageEnd seconds, the direct sound included.
std::vector<Arrival> traceArrivals(int position);

// Band-wise amplitude decay rates (nepers per second) of the room's diffuse field, from
// Eyring's formula with air absorption.
BandValues diffuseDecayRates();
BandValues reverberationTimes();

}  // namespace irgen
