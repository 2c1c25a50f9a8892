#include "adapter/parameters/LogParameter.h"

#include <cmath>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
constexpr double kDecadeFraction = 0.4166666666666667; // 1 / 2.4 decades
} // namespace

LogParameter::LogParameter(const TChar* title, ParamID id, const TChar* units, ParamValue minPlain,
                           ParamValue maxPlain, ParamValue defaultValuePlain, int32 stepCount, int32 flags,
                           UnitID unitId)
    : WarpedRangeParameter(title, id, units, minPlain, maxPlain, defaultValuePlain, stepCount, flags, unitId)
{
    // The base constructor used the linear curve; redo the default with ours.
    info.defaultNormalizedValue = valueNormalized = toNormalized(defaultValuePlain);
}

ParamValue LogParameter::toNormalized(ParamValue plainValue) const
{
    const float u = static_cast<float>((plainValue - getMin()) / (getMax() - getMin()));
    return static_cast<float>(std::pow(10.0, (static_cast<double>(u) - 1.0) / kDecadeFraction));
}

ParamValue LogParameter::toPlain(ParamValue valueNormalized) const
{
    const float v = static_cast<float>(valueNormalized);
    if (!(v > 0.0f))
        return getMin();
    // Not clamped: host values below 10^-2.4 give plain values below the minimum.
    const float a = static_cast<float>(static_cast<double>(std::log10(v)) * kDecadeFraction + 1.0);
    return getMin() + (getMax() - getMin()) * static_cast<double>(a);
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
