#include "adapter/parameters/VoltOctaveCurve.h"

#include "adapter/parameters/ApproxMath.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
// Octaves spanned by the range, in the approximation both directions share.
float octaveSpan(float min, float max) { return approxLog2(max / min); }
} // namespace

float voltOctaveNormalized(float plain, float min, float max)
{
    return static_cast<float>(static_cast<double>(approxLog2(plain / min))
                              / static_cast<double>(octaveSpan(min, max)));
}

float voltOctavePosition(double normalized, float min, float max)
{
    const float exponent = static_cast<float>(static_cast<double>(octaveSpan(min, max)) * normalized);
    const float plain = approxPow2(exponent) * min;
    return (plain - min) / (max - min);
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
