// Input samples as the processing paths of both plug-in formats read them.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

// A non-finite input sample becomes silence before it reaches the convolver.
inline float finiteOrZero(float sample) { return std::isfinite(sample) ? sample : 0.0f; }

// True when every sample reads as silence through finiteOrZero: zeros of either sign, NaNs
// and infinities. Branch-free on the sample bits, so the compiler vectorises the scan.
inline bool readsAsSilence(const float* in, int32_t count)
{
    uint32_t sound = 0;
    for (int32_t i = 0; i < count; ++i)
    {
        uint32_t bits;
        std::memcpy(&bits, in + i, sizeof bits);
        const uint32_t magnitude = bits & 0x7fffffffu;
        sound |= static_cast<uint32_t>(magnitude - 1u < 0x7f7fffffu); // finite and not zero
    }
    return sound == 0;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
