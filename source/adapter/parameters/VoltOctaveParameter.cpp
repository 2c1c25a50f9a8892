#include "adapter/parameters/VoltOctaveParameter.h"

#include "adapter/parameters/ApproxMath.h"

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
    const float p = static_cast<float>(plainValue);
    const float ratio = static_cast<float>(p / getMin());
    const float span = static_cast<float>(getMax() / getMin());
    return static_cast<float>(static_cast<double>(approxLog2(ratio))
                              / static_cast<double>(approxLog2(span)));
}

ParamValue VoltOctaveParameter::toPlain(ParamValue valueNormalized) const
{
    const float min = static_cast<float>(getMin());
    const float max = static_cast<float>(getMax());
    const float span = approxLog2(static_cast<float>(getMax() / getMin()));
    const float e = approxPow2(static_cast<float>(valueNormalized * static_cast<double>(span)));
    const float q = static_cast<float>(static_cast<double>(e) * getMin());
    const float u = (q - min) / (max - min);
    return getMin() + (getMax() - getMin()) * static_cast<double>(u);
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
