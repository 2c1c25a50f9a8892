#include "Arrivals.h"

#include "HeadModel.h"

#include <cmath>

namespace irgen
{
namespace
{
// Wall hits of an image on one axis: image coordinate (1 - 2p) s + 2 m L.
struct AxisImage
{
    double coordinate;
    int hitsLow;    // wall at 0
    int hitsHigh;   // wall at L
    double sign;    // 1 - 2p: how the ray's direction maps back into the real room
};

AxisImage axisImage(double s, double size, int m, int p)
{
    const double sign = 1.0 - 2.0 * p;
    return {sign * s + 2.0 * m * size, std::abs(m - p), std::abs(m), sign};
}

BandValues reflection(const BandValues& absorption, int hits)
{
    BandValues r{};
    for (int b = 0; b < kBands; ++b)
        r[b] = std::pow(std::sqrt(1.0 - absorption[b]), hits);
    return r;
}

double shareFB(int hitsLR, int hitsFB, int hitsCF)
{
    // Each bounce votes for its pair of surfaces; side-wall bounces have no common part of their
    // own (their character is the interaural difference) and vote half for each; the direct sound
    // is shared equally.
    const int total = hitsLR + hitsFB + hitsCF;
    if (total == 0)
        return 0.5;
    return (hitsFB + 0.5 * hitsLR) / total;
}

Arrival makeArrival(const Vec3& image, const Vec3& emitted, const BandValues& walls,
                    const Vec3& sourceAxis, double share)
{
    const Vec3 v = sub(image, kHeadCentre);
    const double r = length(v);
    const Vec3 u = scale(v, 1.0 / r);
    Arrival a;
    a.emission = r / kSpeedOfSound;
    a.shareFB = share;
    const double cosOffAxis = dot(emitted, sourceAxis);
    for (int ear = 0; ear < 2; ++ear)
    {
        const BandValues shadow = headShadow(u, ear);
        a.time[ear] = (r + earExtraPath(u, ear)) / kSpeedOfSound * kSampleRate;
        for (int b = 0; b < kBands; ++b)
        {
            const double air = std::pow(10.0, -kAirDbPerKm[b] * r / 1000.0 / 20.0);
            const double dir = (1.0 - kSourceDirectivity[b]) + kSourceDirectivity[b] * cosOffAxis;
            a.gain[ear][b] = kSourceSpectrum[b] * walls[b] * air * dir * shadow[b] / r;
        }
    }
    return a;
}
}  // namespace

Vec3 sourcePosition(int position)
{
    const double az = kAzimuthDeg[position] * kPi / 180.0;
    const double dz = kSourceHeight - kHeadCentre.z;
    const double target = kDirectSample * kSpeedOfSound / kSampleRate;
    double d = target;
    for (int i = 0; i < 20; ++i)   // fixed point: d + extra path of the nearer ear = target
    {
        const double h = std::sqrt(d * d - dz * dz);
        const Vec3 u = {-std::sin(az) * h / d, std::cos(az) * h / d, dz / d};
        const int nearEar = az >= 0.0 ? kLeftEar : kRightEar;
        d = target - earExtraPath(u, nearEar);
    }
    const double h = std::sqrt(d * d - dz * dz);
    return {kHeadCentre.x - std::sin(az) * h, kHeadCentre.y + std::cos(az) * h, kSourceHeight};
}

std::vector<Arrival> traceArrivals(int position)
{
    const Vec3 src = sourcePosition(position);
    const Vec3 toHead = sub(kHeadCentre, src);
    const Vec3 sourceAxis = scale(toHead, 1.0 / length(toHead));
    const double maxPath = kImageEnd * kSpeedOfSound;
    const int mx = static_cast<int>(maxPath / (2.0 * kRoomSize.x)) + 2;
    const int my = static_cast<int>(maxPath / (2.0 * kRoomSize.y)) + 2;
    const int mz = static_cast<int>(maxPath / (2.0 * kRoomSize.z)) + 2;

    std::vector<Arrival> arrivals;
    for (int ix = -mx; ix <= mx; ++ix)
        for (int px = 0; px < 2; ++px)
            for (int iy = -my; iy <= my; ++iy)
                for (int py = 0; py < 2; ++py)
                    for (int iz = -mz; iz <= mz; ++iz)
                        for (int pz = 0; pz < 2; ++pz)
                        {
                            const AxisImage ax = axisImage(src.x, kRoomSize.x, ix, px);
                            const AxisImage ay = axisImage(src.y, kRoomSize.y, iy, py);
                            const AxisImage az = axisImage(src.z, kRoomSize.z, iz, pz);
                            const Vec3 image = {ax.coordinate, ay.coordinate, az.coordinate};
                            const Vec3 v = sub(image, kHeadCentre);
                            const double r = length(v);
                            if (r > maxPath)
                                continue;
                            // Direction the ray left the real source: mirror the image's
                            // outgoing direction back through every odd reflection.
                            const Vec3 emitted = {-ax.sign * v.x / r, -ay.sign * v.y / r,
                                                  -az.sign * v.z / r};
                            BandValues walls{};
                            const BandValues rl = reflection(kAbsSideWalls, ax.hitsLow + ax.hitsHigh);
                            const BandValues rb = reflection(kAbsEndWalls, ay.hitsLow + ay.hitsHigh);
                            const BandValues rf = reflection(kAbsFloor, az.hitsLow);
                            const BandValues rc = reflection(kAbsCeiling, az.hitsHigh);
                            for (int b = 0; b < kBands; ++b)
                                walls[b] = rl[b] * rb[b] * rf[b] * rc[b];
                            const double share = shareFB(ax.hitsLow + ax.hitsHigh,
                                                         ay.hitsLow + ay.hitsHigh,
                                                         az.hitsLow + az.hitsHigh);
                            arrivals.push_back(makeArrival(image, emitted, walls, sourceAxis, share));
                        }
    return arrivals;
}

BandValues reverberationTimes()
{
    const double lx = kRoomSize.x, ly = kRoomSize.y, lz = kRoomSize.z;
    const double volume = lx * ly * lz;
    const double sides = 2.0 * ly * lz, ends = 2.0 * lx * lz, flat = lx * ly;
    const double surface = sides + ends + 2.0 * flat;
    BandValues rt{};
    for (int b = 0; b < kBands; ++b)
    {
        const double mean = (sides * kAbsSideWalls[b] + ends * kAbsEndWalls[b] +
                             flat * kAbsFloor[b] + flat * kAbsCeiling[b]) / surface;
        const double airPerMetre = kAirDbPerKm[b] / 1000.0 / (10.0 * std::log10(std::exp(1.0)));
        const double absorption = -surface * std::log(1.0 - mean) + 4.0 * airPerMetre * volume;
        rt[b] = 24.0 * std::log(10.0) / kSpeedOfSound * volume / absorption;
    }
    return rt;
}

BandValues diffuseDecayRates()
{
    const BandValues rt = reverberationTimes();
    BandValues rate{};
    for (int b = 0; b < kBands; ++b)
        rate[b] = 3.0 * std::log(10.0) / rt[b];   // 60 dB of energy = 3 ln 10 nepers of amplitude
    return rate;
}

}  // namespace irgen
