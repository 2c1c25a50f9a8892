#include "Analysis.h"

#include <algorithm>
#include <cmath>

namespace irgen {
std::vector<double> energyDecayDb(const double* table, int length)
{
    std::vector<double> edc(length, -400.0);
    double sum = 0.0;
    for (int i = length - 1; i >= 0; --i)
    {
        sum += table[i] * table[i];
        edc[i] = sum;
    }
    const double total = edc[0];
    for (int i = 0; i < length; ++i)
        edc[i] = (total > 0.0 && edc[i] > 0.0) ? 10.0 * std::log10(edc[i] / total) : -400.0;
    return edc;
}

int indexBelow(const std::vector<double>& edc, double db)
{
    for (int i = 0; i < static_cast<int>(edc.size()); ++i)
        if (edc[i] <= db)
            return i;
    return static_cast<int>(edc.size());
}

int peakIndex(const double* table, int length)
{
    int best = 0;
    for (int i = 1; i < length; ++i)
        if (std::fabs(table[i]) > std::fabs(table[best]))
            best = i;
    return best;
}

double endLevelDb(const double* table, int length, int window)
{
    auto energy = [table](int first, int count) {
        double sum = 0.0;
        for (int i = first; i < first + count; ++i)
            sum += table[i] * table[i];
        return sum;
    };
    double loudest = 0.0;
    for (int first = 0; first + window <= length; first += window)
        loudest = std::max(loudest, energy(first, window));
    const double last = energy(length - window, window);
    return loudest > 0.0 && last > 0.0 ? 10.0 * std::log10(last / loudest) : -400.0;
}

} // namespace irgen
