// Range parameter of a volt/octave control: equal steps of the host value give equal ratios of
// the plain value, plain = min * (max / min)^v, using the fast log2/pow2 approximations.
#pragma once

#include "adapter/parameters/WarpedRangeParameter.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class VoltOctaveParameter : public WarpedRangeParameter
{
public:
    VoltOctaveParameter(const TChar* title, ParamID id, const TChar* units, ParamValue minPlain,
                        ParamValue maxPlain, ParamValue defaultValuePlain, int32 stepCount,
                        int32 flags, UnitID unitId);

    ParamValue toPlain(ParamValue valueNormalized) const SMTG_OVERRIDE;
    ParamValue toNormalized(ParamValue plainValue) const SMTG_OVERRIDE;

    OBJ_METHODS(VoltOctaveParameter, WarpedRangeParameter)
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
