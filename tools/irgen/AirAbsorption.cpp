#include "AirAbsorption.h"

#include <cmath>

namespace irgen {
double airAttenuationDbPerMetre(double hz, double celsius, double humidityPercent, double pressureKPa)
{
    constexpr double kReferencePressure = 101.325;   // kPa
    constexpr double kReferenceTemperature = 293.15; // K
    constexpr double kTriplePoint = 273.16;          // K
    const double t = celsius + 273.15;
    const double pr = pressureKPa / kReferencePressure;
    const double tr = t / kReferenceTemperature;
    // Molar concentration of water vapour (percent) from the saturation vapour pressure.
    const double c = -6.8346 * std::pow(kTriplePoint / t, 1.261) + 4.6151;
    const double h = humidityPercent * std::pow(10.0, c) / pr;
    const double frO = pr * (24.0 + 4.04e4 * h * (0.02 + h) / (0.391 + h));
    const double frN =
        pr / std::sqrt(tr) * (9.0 + 280.0 * h * std::exp(-4.170 * (std::cbrt(1.0 / tr) - 1.0)));
    const double f2 = hz * hz;
    const double classical = 1.84e-11 / pr * std::sqrt(tr);
    const double oxygen = 0.01275 * std::exp(-2239.1 / t) / (frO + f2 / frO);
    const double nitrogen = 0.1068 * std::exp(-3352.0 / t) / (frN + f2 / frN);
    return 8.686 * f2 * (classical + std::pow(tr, -2.5) * (oxygen + nitrogen));
}

} // namespace irgen
