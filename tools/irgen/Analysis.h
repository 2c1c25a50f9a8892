// Measurements of a table, for the generator's report and picture.
#pragma once

#include <vector>

namespace irgen {
// Backward-integrated energy in dB relative to the total (Schroeder curve), one value per sample.
std::vector<double> energyDecayDb(const double* table, int length);

// First index at which the curve falls to `db` or below; length if never.
int indexBelow(const std::vector<double>& edc, double db);

// Index of the sample with the largest magnitude.
int peakIndex(const double* table, int length);

// Level of the last `window` samples against the loudest of the windows that tile the table from
// its start, in dB (energy per window): how far down the table is when it ends.
double endLevelDb(const double* table, int length, int window);

} // namespace irgen
