// Deterministic pseudo-random numbers: the same stream on every platform and library, unlike
// the standard distributions, so the generated bank is bit-identical wherever it is built.
#pragma once

#include <cstdint>

class SplitMix64
{
public:
    explicit SplitMix64(uint64_t seed)
        : m_uState(seed)
    {}

    uint64_t next()
    {
        uint64_t z = (m_uState += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

private:
    uint64_t m_uState;
};
