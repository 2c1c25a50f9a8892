#include "RoomAcoustics.h"

#include "AirAbsorption.h"

#include <cmath>

namespace irgen {
double interpolateOctaves(const OctaveValues& values, double hz)
{
    const double x = std::log2(hz / kOctaveCentreHz[0]);
    if (!(x > 0.0))
        return values[0];
    if (x >= kOctaves - 1)
        return values[kOctaves - 1];
    // Blended with a smooth step whose first three derivatives vanish at the centres: a kinked
    // (piecewise linear) curve would give every reflection's kernel slowly decaying ringing.
    const int i = static_cast<int>(x);
    const double f = x - i;
    const double s = f * f * f * f * (35.0 - 84.0 * f + 70.0 * f * f - 20.0 * f * f * f);
    return (1.0 - s) * values[i] + s * values[i + 1];
}

double airNepersPerMetre(double hz)
{
    const double db = airAttenuationDbPerMetre(hz, kAirTemperatureC, kAirHumidityPercent, kAirPressureKPa);
    return db / (20.0 * std::log10(std::exp(1.0)));
}

double reflectionNepers(const OctaveValues& absorption, double hz)
{
    return 0.5 * std::log(1.0 - interpolateOctaves(absorption, hz));
}

double reverberationTime(double hz)
{
    const double lx = kRoomSize.x, ly = kRoomSize.y, lz = kRoomSize.z;
    const double volume = lx * ly * lz;
    const double sides = 2.0 * ly * lz, ends = 2.0 * lx * lz, flat = lx * ly;
    const double surface = sides + ends + 2.0 * flat;
    const double mean =
        (sides * interpolateOctaves(kAbsSideWalls, hz) + ends * interpolateOctaves(kAbsEndWalls, hz)
         + flat * interpolateOctaves(kAbsFloor, hz) + flat * interpolateOctaves(kAbsCeiling, hz))
        / surface;
    const double airEnergyPerMetre = 2.0 * airNepersPerMetre(hz);
    const double absorption = -surface * std::log(1.0 - mean) + 4.0 * airEnergyPerMetre * volume;
    return 24.0 * std::log(10.0) / kSpeedOfSound * volume / absorption;
}

double diffuseDecayRate(double hz)
{
    return 3.0 * std::log(10.0) / reverberationTime(hz); // 60 dB = 3 ln 10 nepers of amplitude
}

double bandLimit(double hz)
{
    if (hz <= kTaperStartHz)
        return 1.0;
    if (hz >= kTaperEndHz)
        return 0.0;
    // A smooth step whose first three derivatives vanish at both ends: the kernels' ringing
    // dies away fast enough to leave the start of every table silent.
    const double x = (hz - kTaperStartHz) / (kTaperEndHz - kTaperStartHz);
    return 1.0 - x * x * x * x * (35.0 - 84.0 * x + 70.0 * x * x - 20.0 * x * x * x);
}

} // namespace irgen
