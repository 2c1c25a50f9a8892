// The modelled room: geometry, listener, source positions, surface materials and air.
// The values and their reasons are documented in main.cpp's header comment.
#pragma once

#include "Vec3.h"

#include "room/BankRate.h"

#include <array>

namespace irgen {
constexpr int kOctaves = 7; // material data: octave bands 125 Hz .. 8 kHz
using OctaveValues = std::array<double, kOctaves>;
constexpr OctaveValues kOctaveCentreHz = {125.0, 250.0, 500.0, 1000.0, 2000.0, 4000.0, 8000.0};

constexpr double kPi = 3.14159265358979323846;
constexpr double kSampleRate = kBankSampleRate; // the room plays the tables at this rate
constexpr double kSpeedOfSound = 343.0;         // m/s at 20 degrees C
constexpr int kResponseLength = 69632;
constexpr int kPositions = 11;
constexpr int kTables = 33;
constexpr int kDirectSample = 322; // arrival of the direct sound at the nearer ear

// Room interior: x from the left wall (0) to the right wall, y from the back wall (0) to the
// front wall, z from the floor (0) to the ceiling. The listener faces +y.
constexpr Vec3 kRoomSize = {7.0, 8.0, 4.0};
constexpr Vec3 kHeadCentre = {3.2, 3.0, 1.7};
constexpr double kHeadRadius = 0.0875;
constexpr double kSourceHeight = 1.8;

// Source azimuths in degrees, positive to the listener's left, in position-control order:
// Center, L22, L32, L45, L64, L90, R22, R32, R45, R64, R90.
constexpr std::array<double, kPositions> kAzimuthDeg = {0.0,   22.0,  32.0,  45.0,  64.0, 90.0,
                                                        -22.0, -32.0, -45.0, -64.0, -90.0};

// Absorption coefficients per octave band (125, 250, 500, 1k, 2k, 4k, 8k Hz), blended smoothly
// in log frequency in between and held beyond the outer bands.
// Left and right walls: wood panelling; front and back: painted brick; floor: sealed wood;
// ceiling: plaster.
constexpr OctaveValues kAbsSideWalls = {0.09, 0.072, 0.053, 0.049, 0.053, 0.058, 0.063};
constexpr OctaveValues kAbsEndWalls = {0.036, 0.032, 0.027, 0.032, 0.032, 0.032, 0.032};
constexpr OctaveValues kAbsFloor = {0.063, 0.053, 0.045, 0.045, 0.045, 0.045, 0.045};
constexpr OctaveValues kAbsCeiling = {0.081, 0.067, 0.053, 0.045, 0.045, 0.045, 0.045};

// Source directivity: amplitude (1 - b) + b cos(angle off the source's axis), the axis pointing
// at the listener. Omnidirectional in the bass, narrowing towards the treble to a little more
// than a cardioid at 8 kHz (a directivity index of 5 dB), as voices, instruments and small
// loudspeakers do: on axis the source stays flat, but the room, fed by all directions, hears it
// roll off gradually from 1 kHz, so the tail's treble bends down smoothly before the air takes
// over instead of holding level and then dropping.
constexpr OctaveValues kSourceDirectivity = {0.0, 0.0, 0.05, 0.15, 0.3, 0.45, 0.55};

// The air the sound crosses: its absorption follows from these at every frequency. Warm, humid
// air (still within the comfort range for the temperature) absorbs the least at the top of the
// band: at 20 degrees and 50 % it would take twice as much from 10 kHz up, and the air's f^2 law
// would cut the tail's top third-octaves off in steps of 5 dB or more.
constexpr double kAirTemperatureC = 25.0;
constexpr double kAirHumidityPercent = 90.0;
constexpr double kAirPressureKPa = 101.325;

// Interaural coherence of the diffuse tail at the octave centres (the ears decorrelate above
// ~500 Hz), interpolated like the materials.
constexpr OctaveValues kTailCoherence = {0.2, 0.1, 0.0, 0.0, 0.0, 0.0, 0.0};

// The bank is band-limited by a smooth fall from 15 to 19.5 kHz (16.3 to 21.2 kHz played at
// 48 kHz): every arrival's kernel stays short, and the top of the band, where the air leaves
// almost no reverberation, does not let the direct sound outweigh the tables' slow decay. The
// source radiates no DC.
constexpr double kTaperStartHz = 15000.0;
constexpr double kTaperEndHz = 19500.0;
constexpr double kHighPassHz = 20.0;

// Image sources are traced up to this time; the stochastic tail takes over across the fade.
// The room is small enough (224 m^3) for its field to be mixed within a few tens of
// milliseconds; from then on the tail's interaural part no longer depends on the position.
constexpr double kImageFadeStart = 0.035; // seconds after emission
constexpr double kImageEnd = 0.06;
constexpr double kTailMatchStart = 0.02; // window over which the tail level is matched

} // namespace irgen
