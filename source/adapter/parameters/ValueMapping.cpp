#include "adapter/parameters/ValueMapping.h"

#include "adapter/parameters/VoltOctaveCurve.h"

#include <cmath>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

float mapVoltOctave(const CControlEntry& control, double normalized)
{
    return voltOctavePosition(normalized, control.fMin, control.fMax);
}

float parameterToPosition(const CControlEntry& control, double normalized)
{
    if (control.bLogControl)
    {
        // One decade of position spread over the host range: u = log10(1 + 9 v).
        const float v = static_cast<float>(normalized);
        return static_cast<float>(std::log10(9.0 * static_cast<double>(v) + 1.0));
    }
    if (control.bVoltOctave)
        return mapVoltOctave(control, normalized);
    return static_cast<float>(normalized);
}

double positionToParameter(const CControlEntry& control, double plain)
{
    const float p = static_cast<float>(plain);
    if (control.bVoltOctave)
        return voltOctaveNormalized(p, control.fMin, control.fMax);
    const float u = (p - control.fMin) / (control.fMax - control.fMin);
    if (control.bLogControl)
    {
        const float decade = std::pow(10.0f, u);
        return static_cast<float>((static_cast<double>(decade) - 1.0) / 9.0);
    }
    return u;
}

float settledPlainValue(const CControlEntry& control, double plain)
{
    const float lo = std::fmin(control.fMin, control.fMax);
    const float hi = std::fmax(control.fMin, control.fMax);
    const auto v = static_cast<float>(plain);
    if (!std::isfinite(v))
        return std::nanf("");
    const float clamped = std::fmin(std::fmax(v, lo), hi);
    switch (control.nDataType)
    {
    case kDataInt: return std::trunc(clamped);
    case kDataUint: return static_cast<float>(std::fmax(0.0, std::floor(static_cast<double>(clamped) + 0.5)));
    default: return clamped;
    }
}

float plainOfPosition(const CControlEntry& control, float position)
{
    if (!std::isfinite(position))
        return std::nanf("");
    const float n = std::fmin(std::fmax(position, 0.0f), 1.0f);
    const float plain = (control.fMax - control.fMin) * n + control.fMin;
    const bool rounded = control.nDataType == kDataInt || control.nDataType == kDataUint;
    return settledPlainValue(control, rounded ? std::floor(static_cast<double>(plain) + 0.5) : plain);
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
