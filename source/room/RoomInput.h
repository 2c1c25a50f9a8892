// The input sample a room's ears take: a non-finite sample counts as silence, and a finite one is
// held within +-kInputCeiling (+120 dBFS, exact in float and double alike): far above any real
// signal, yet low enough that the room's gain can never overflow a float. The clamp is taken in
// float, where it picks exactly the value the widened sample would.
#pragma once

#include <algorithm>
#include <cmath>

constexpr float kInputCeiling = 1.0e6f;

[[gnu::always_inline]] inline double roomInputSample(float input)
{
    return std::isfinite(input) ? std::clamp(input, -kInputCeiling, kInputCeiling) : 0.0f;
}
