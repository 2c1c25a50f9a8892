// How the bank sounds, measured as a listener with an analyser would: one-third-octave levels
// of pieces of an ear's response, and the figures that show a dull or stepped tone (the largest
// step between neighbouring bands, the largest departure from a smooth trend, the spread round
// the mean). Shared by the generator's report and the bank's tests.
#pragma once

#include <vector>

namespace irgen {
// The setting the measures listen at: the plug-in's defaults (every volume 1, every absorption
// 7 under the hyperbolic decay law) at 48 kHz.
struct ListeningSetting
{
    double sampleRate = 48000.0;
    double absorption = 7.0;
    bool hyperbolic = true;
};

// One ear of a position as the plug-in plays it: (FB + CF +- LR) times the decay envelope the
// setting's absorption gives every component (left ear 0 adds LR, right ear 1 subtracts it).
std::vector<double> earResponse(const double* fb, const double* lr, const double* cf, int length, int ear,
                                const ListeningSetting& setting);

// One-third-octave levels: mean power per frequency bin within each band, in dB.
struct BandLevels
{
    std::vector<double> hz; // exact base-2 centres 1000 * 2^(k/3)
    std::vector<double> db;
};

// Bands whose centres lie in lowHz .. highHz (nominal frequencies: 100 and 16000 both count),
// of samples [begin, end) of x at sampleRate; the piece is zero-padded to a fine frequency grid.
BandLevels thirdOctaveLevels(const std::vector<double>& x, int begin, int end, double sampleRate,
                             double lowHz, double highHz);

// Largest level difference between neighbouring bands with centres in lowHz .. highHz.
double largestStepDb(const BandLevels& levels, double lowHz, double highHz);

// Largest distance of a band from the least-squares second-order polynomial in log frequency.
double largestTrendDeviationDb(const BandLevels& levels);

// Largest distance of a band from the mean of the bands' levels.
double largestSpreadDb(const BandLevels& levels);

// Level of the band nearest `hz` relative to the band nearest 1 kHz.
double relativeLevelDb(const BandLevels& levels, double hz);

// The pieces the measures look at, relative to the direct sound's main peak `direct`: the
// direct sound's first 2.5 ms (from a quarter of a millisecond before the peak), the early
// part (to 50 ms) and the late tail (200 to 600 ms).
struct Piece
{
    int begin, end;
};
Piece directPiece(int direct, double sampleRate);
Piece earlyPiece(int direct, double sampleRate);
Piece latePiece(int direct, double sampleRate);

// Index of the sample with the largest magnitude.
int mainPeak(const std::vector<double>& x);

} // namespace irgen
