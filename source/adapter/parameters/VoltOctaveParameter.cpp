#include "adapter/parameters/VoltOctaveParameter.h"

#include "adapter/parameters/VoltOctaveCurve.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

VoltOctaveParameter::VoltOctaveParameter(const TChar* title, ParamID id, const TChar* units,
                                         ParamValue minPlain, ParamValue maxPlain,
                                         ParamValue defaultValuePlain, int32 stepCount, int32 flags,
                                         UnitID unitId)
    : WarpedRangeParameter(title, id, units, minPlain, maxPlain, defaultValuePlain, stepCount, flags, unitId)
{
    // The base constructor used the linear curve; redo the default with ours, in single precision.
    const float defaultPlain = static_cast<float>(defaultValuePlain);
    const float normalized = static_cast<float>(toNormalized(defaultPlain));
    info.defaultNormalizedValue = valueNormalized = normalized;
}

ParamValue VoltOctaveParameter::toNormalized(ParamValue plainValue) const
{
    return voltOctaveNormalized(static_cast<float>(plainValue), static_cast<float>(getMin()),
                                static_cast<float>(getMax()));
}

ParamValue VoltOctaveParameter::toPlain(ParamValue valueNormalized) const
{
    const float u =
        voltOctavePosition(valueNormalized, static_cast<float>(getMin()), static_cast<float>(getMax()));
    return getMin() + (getMax() - getMin()) * static_cast<double>(u);
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
