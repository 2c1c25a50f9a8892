// Image-source arrivals at the two ears of the listener for one source position: where and
// when each arrives and which surfaces it met. Their frequency responses are ArrivalGains'.
#pragma once

#include "Room.h"

#include <vector>

namespace irgen {
constexpr int kLeftEar = 0;
constexpr int kRightEar = 1;

struct Arrival
{
    double emission = 0.0;     // path length / speed of sound, seconds (head centre)
    double distance = 0.0;     // path length, metres
    double time[2] = {};       // arrival at each ear, in samples (fractional)
    double trebleGain[2] = {}; // head shadow at each ear for the arrival's direction
    double cosOffAxis = 1.0;   // cosine of the angle between the source's axis and the ray
    int sideHits = 0, endHits = 0, floorHits = 0, ceilingHits = 0;
    double shareFB = 0.5; // fraction of the ears' common part that goes to FB (rest: CF)
};

// Where the source of a position stands: on a circle around the head, at the distance that
// brings the direct sound to the nearer ear at kDirectSample.
Vec3 sourcePosition(int position);

// Every image source whose path is shorter than kImageEnd seconds, the direct sound included.
std::vector<Arrival> traceArrivals(int position);

} // namespace irgen
