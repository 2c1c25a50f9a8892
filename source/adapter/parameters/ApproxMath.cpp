#include "adapter/parameters/ApproxMath.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
uint32_t bitsOf(float x)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

float floatOf(uint32_t bits)
{
    float x = 0.0f;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}
} // namespace

float approxLog2(float x)
{
    const uint32_t bits = bitsOf(x);
    // The mantissa moved into [0.5, 1) carries the fractional part of the logarithm.
    const float m = floatOf((bits & 0x007FFFFFu) | 0x3F000000u);
    const float y = static_cast<float>(bits) * 1.1920928955078125e-7f;
    return y - 124.22551727294922f - 1.4980303049087524f * m
           - 1.7258800268173218f / (m + 0.35208871960639954f);
}

float approxPow2(float x)
{
    // Keep the integer conversions below defined: NaN stays NaN, and from 2^128 on the
    // exponent field overflows anyway, so the answer is infinity.
    if (x != x)
        return x;
    if (x >= 128.0f)
        return std::numeric_limits<float>::infinity();
    const float offset = x < 0.0f ? 1.0f : 0.0f;
    const float c = x < -126.0f ? -126.0f : x;
    const int32_t w = static_cast<int32_t>(c);
    const float z = c - static_cast<float>(w) + offset;
    const float scaled = 8388608.0f
                         * (c + 121.27405548095703f + 27.728023529052734f / (4.842525482177734f - z)
                            - 1.4901291131973267f * z);
    // Truncate through a wide integer so large exponents keep their low 32 bits.
    const int64_t r = static_cast<int64_t>(scaled);
    return floatOf(static_cast<uint32_t>(r));
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
