// Points and directions in the room, in metres.
#pragma once

#include <cmath>

namespace irgen {
struct Vec3
{
    double x, y, z;
};

inline Vec3 sub(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline double length(const Vec3& a) { return std::sqrt(dot(a, a)); }
inline Vec3 scale(const Vec3& a, double k) { return {a.x * k, a.y * k, a.z * k}; }

} // namespace irgen
