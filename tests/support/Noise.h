// Deterministic noise for tests: the same seed gives the same signal on every run and machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace TestSupport {

// n samples, uniform in [-amplitude, amplitude], from a 64-bit Mersenne Twister.
inline std::vector<double> noise(std::size_t n, unsigned seed, double amplitude = 1.0)
{
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> dist(-amplitude, amplitude);
    std::vector<double> v(n);
    for (double& x : v)
        x = dist(rng);
    return v;
}

// One sample in [-1, 1) from a 32-bit linear congruential generator whose state the caller
// keeps, so a sequence can go on across calls. Cheap enough for per-sample use in a loop.
inline float lcgNoise(uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
}

} // namespace TestSupport
