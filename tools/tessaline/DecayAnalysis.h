// Reverberation measures of an impulse response: the energy decay curve (backward integration of
// the squared response) and the reverberation time T30 fitted to it, broadband and per octave band.
#pragma once

#include "ImpulseResponse.h"

#include <string>
#include <vector>

namespace TessalineTool {

// A straight line fitted to a decay curve between -5 and -35 dB, extended to 60 dB of decay.
struct DecayFit
{
    bool valid = false;     // false when the curve never falls 35 dB
    double t30 = 0.0;       // seconds for 60 dB along the fitted line
    double slope = 0.0;     // dB per second (negative)
    double intercept = 0.0; // dB at time 0
};

struct BandDecay
{
    double centre = 0.0; // Hz
    bool aboveNyquist = false;
    DecayFit fit;
};

// How the response ends, as a listener measures it: the 10 ms before its last non-zero sample
// against its loudest 10 ms (windows tiling it from the start), both ears' energy.
struct ResponseEnd
{
    bool valid = false;   // false for a silent response or one shorter than 20 ms
    double seconds = 0.0; // time of the last non-zero sample
    double levelDb = 0.0; // its last 10 ms, in dB below the loudest 10 ms (negative)
};

struct RoomDecay
{
    std::vector<double> curve; // energy decay curve in dB (0 dB at sample 0), both ears' energy
    ResponseEnd end;
    DecayFit broadband;
    std::vector<BandDecay> bands; // octave bands 125 Hz to 8 kHz
};

// The energy decay curve, in dB relative to the total, of a squared response; -infinity after
// the last non-zero sample.
std::vector<double> energyDecayCurve(const std::vector<double>& energy);

// The T30 line through the part of the curve between -5 and -35 dB.
DecayFit fitT30(const std::vector<double>& curveDb, int sampleRate);

// Both ears' energy, broadband and in each octave band.
RoomDecay analyseDecay(const ImpulseResponse& response);

// "-98.1 dB" or "n/a" — the text the plot shows for the end of the response.
std::string endText(const ResponseEnd& end);

// "1.23 s" or "n/a" — the text the plot shows for a T30.
std::string t30Text(const DecayFit& fit);

} // namespace TessalineTool
