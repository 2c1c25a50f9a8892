#include "Arrivals.h"

#include "HeadModel.h"

#include <cmath>

namespace irgen {
namespace {
// Wall hits of an image on one axis: image coordinate (1 - 2p) s + 2 m L.
struct AxisImage
{
    double coordinate;
    int hitsLow;  // wall at 0
    int hitsHigh; // wall at L
    double sign;  // 1 - 2p: how the ray's direction maps back into the real room
};

AxisImage axisImage(double s, double size, int m, int p)
{
    const double sign = 1.0 - 2.0 * p;
    return {sign * s + 2.0 * m * size, std::abs(m - p), std::abs(m), sign};
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

Arrival makeArrival(const Vec3& image, const AxisImage& ax, const AxisImage& ay, const AxisImage& az,
                    const Vec3& sourceAxis)
{
    const Vec3 v = sub(image, kHeadCentre);
    const double r = length(v);
    const Vec3 u = scale(v, 1.0 / r);
    // Direction the ray left the real source: the image's outgoing direction mirrored back
    // through every odd reflection.
    const Vec3 emitted = {-ax.sign * u.x, -ay.sign * u.y, -az.sign * u.z};
    Arrival a;
    a.cosOffAxis = dot(emitted, sourceAxis);
    a.emission = r / kSpeedOfSound;
    a.distance = r;
    a.sideHits = ax.hitsLow + ax.hitsHigh;
    a.endHits = ay.hitsLow + ay.hitsHigh;
    a.floorHits = az.hitsLow;
    a.ceilingHits = az.hitsHigh;
    a.shareFB = shareFB(a.sideHits, a.endHits, a.floorHits + a.ceilingHits);
    for (int ear = 0; ear < 2; ++ear)
    {
        a.time[ear] = (r + earExtraPath(u, ear)) / kSpeedOfSound * kSampleRate;
        a.trebleGain[ear] = shadowTrebleGain(u, ear);
    }
    return a;
}
} // namespace

Vec3 sourcePosition(int position)
{
    const double az = kAzimuthDeg[position] * kPi / 180.0;
    const double dz = kSourceHeight - kHeadCentre.z;
    const double target = kDirectSample * kSpeedOfSound / kSampleRate;
    double d = target;
    for (int i = 0; i < 20; ++i) // fixed point: d + extra path of the nearer ear = target
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
    const Vec3 sourceAxis = scale(toHead, 1.0 / length(toHead)); // the source faces the listener
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
                            if (length(sub(image, kHeadCentre)) > maxPath)
                                continue;
                            arrivals.push_back(makeArrival(image, ax, ay, az, sourceAxis));
                        }
    return arrivals;
}

} // namespace irgen
