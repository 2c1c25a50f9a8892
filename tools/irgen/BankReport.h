// The generator's printed report: per table, the main peak and the energy decay; per position
// and ear, the tone measures at the default listening setting.
#pragma once

#include <vector>

namespace irgen {
void printBankReport(const std::vector<double>& bank);

} // namespace irgen
