// A PNG overview of the bank for people to look at: for every table, the first 2048 samples
// and the energy decay curve over the whole table; below them a spectrogram of each component
// of one position.
#pragma once

#include <string>
#include <vector>

namespace irgen {
bool writeBankPicture(const std::vector<double>& bank, const std::string& path);
}
