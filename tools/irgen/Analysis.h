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

} // namespace irgen
