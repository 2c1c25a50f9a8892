// The input sample a room's ears take: a non-finite sample counts as silence, and a finite one is
// held within +-kInputCeiling (+120 dBFS, exact in float and double alike): far above any real
// signal, yet low enough that the room's gain can never overflow a float. The clamp is taken in
// float, where it picks exactly the value the widened sample would.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

constexpr float kInputCeiling = 1.0e6f;

[[gnu::always_inline]] inline double roomInputSample(float input)
{
    return std::isfinite(input) ? std::clamp(input, -kInputCeiling, kInputCeiling) : 0.0f;
}

// roomInputSample over count samples, sample for sample the same values, written so that the
// loop vectorises: the clamp taken as the two comparisons std::clamp makes, and a sample whose
// exponent bits are all ones (an infinity or a NaN) masked to +0.
inline void roomInputRun(const float* in, int count, double* x)
{
    for (int k = 0; k < count; ++k)
    {
        float v = in[k];
        v = v < -kInputCeiling ? -kInputCeiling : v;
        v = kInputCeiling < v ? kInputCeiling : v;
        std::uint32_t bits;
        std::memcpy(&bits, in + k, sizeof bits);
        const std::uint32_t keep = (bits & 0x7f800000u) != 0x7f800000u ? 0xffffffffu : 0u;
        std::memcpy(&bits, &v, sizeof bits);
        bits &= keep;
        std::memcpy(&v, &bits, sizeof v);
        x[k] = v;
    }
}
