#include "HeadModel.h"

#include <algorithm>
#include <cmath>

namespace irgen {
namespace {
// Unit vector pointing out of an ear (0 left, 1 right); the listener faces +y.
Vec3 earAxis(int ear) { return ear == 0 ? Vec3{-1.0, 0.0, 0.0} : Vec3{1.0, 0.0, 0.0}; }
} // namespace

double earExtraPath(const Vec3& u, int ear)
{
    const double s = std::clamp(dot(u, earAxis(ear)), -1.0, 1.0);
    if (s >= 0.0)
        return -kHeadRadius * s;                     // straight to the lit ear
    return kHeadRadius * (std::acos(s) - kPi / 2.0); // around the sphere
}

double shadowTrebleGain(const Vec3& u, int ear)
{
    // Zero position alpha(theta) = 1.05 + 0.95 cos(theta / 150 deg * 180 deg): a bright spot
    // behind the head as on a real sphere.
    const double s = std::clamp(dot(u, earAxis(ear)), -1.0, 1.0);
    const double theta = std::acos(s);
    return 1.05 + 0.95 * std::cos(theta * 180.0 / 150.0);
}

double shadowMagnitude(double trebleGain, double hz)
{
    const double omega0 = kSpeedOfSound / kHeadRadius;
    const double w = 2.0 * kPi * hz / (2.0 * omega0);
    return std::sqrt((1.0 + trebleGain * trebleGain * w * w) / (1.0 + w * w));
}

} // namespace irgen
