// The modelled room: geometry, listener, source positions, surface materials and air.
// The values and their reasons are documented in main.cpp's header comment.
#pragma once

#include "Vec3.h"

#include <array>

namespace irgen
{
constexpr int kBands = 7;                    // octave bands 125 Hz .. 8 kHz
using BandValues = std::array<double, kBands>;

constexpr double kPi = 3.14159265358979323846;
constexpr double kSampleRate = 44100.0;
constexpr double kSpeedOfSound = 343.0;      // m/s at 20 degrees C
constexpr int kResponseLength = 69632;
constexpr int kPositions = 11;
constexpr int kTables = 33;
constexpr int kDirectSample = 322;           // arrival of the direct sound at the nearer ear

// Room interior: x from the left wall (0) to the right wall, y from the back wall (0) to the
// front wall, z from the floor (0) to the ceiling. The listener faces +y.
constexpr Vec3 kRoomSize = {8.0, 10.0, 5.0};
constexpr Vec3 kHeadCentre = {3.4, 3.0, 1.7};
constexpr double kHeadRadius = 0.0875;
constexpr double kSourceHeight = 1.8;

// Source azimuths in degrees, positive to the listener's left, in position-control order:
// Center, L22, L32, L45, L64, L90, R22, R32, R45, R64, R90.
constexpr std::array<double, kPositions> kAzimuthDeg = {0.0,   22.0,  32.0,  45.0,  64.0, 90.0,
                                                        -22.0, -32.0, -45.0, -64.0, -90.0};

// Absorption coefficients per octave band (125, 250, 500, 1k, 2k, 4k, 8k Hz).
constexpr BandValues kAbsSideWalls = {0.10, 0.08, 0.07, 0.07, 0.07, 0.07, 0.07};  // wood panelling
constexpr BandValues kAbsEndWalls = {0.04, 0.04, 0.05, 0.05, 0.06, 0.06, 0.06};   // painted brick
constexpr BandValues kAbsFloor = {0.07, 0.07, 0.07, 0.08, 0.10, 0.18, 0.30};      // wood, thin rugs
constexpr BandValues kAbsCeiling = {0.10, 0.10, 0.10, 0.10, 0.10, 0.10, 0.10};   // hard plaster

// Air attenuation in dB per km (20 degrees C, about 80 % relative humidity).
constexpr BandValues kAirDbPerKm = {0.3, 1.0, 1.8, 3.0, 5.5, 12.5, 37.0};

// Source directivity: amplitude (1 - b) + b cos(angle off the source axis); the source faces
// the listener. Omnidirectional in the bass, narrowing towards the treble.
constexpr BandValues kSourceDirectivity = {0.0, 0.0, 0.0, 0.05, 0.1, 0.15, 0.2};

// Source spectrum (amplitude per band): level in the treble falls like that of most voices and
// instruments.
constexpr BandValues kSourceSpectrum = {1.0, 1.0, 1.0, 0.85, 0.6, 0.35, 0.12};

// Interaural coherence of the diffuse tail per band (the ears decorrelate above ~500 Hz).
constexpr BandValues kTailCoherence = {0.2, 0.1, 0.0, 0.0, 0.0, 0.0, 0.0};

// Image sources are traced up to this time; the stochastic tail takes over across the fade.
constexpr double kImageFadeStart = 0.07;     // seconds after emission
constexpr double kImageEnd = 0.10;
constexpr double kTailMatchStart = 0.04;     // window over which the tail level is matched

}  // namespace irgen
