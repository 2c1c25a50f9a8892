// Range parameter of a volt/octave control on the volt/octave curve (VoltOctaveCurve.h). The
// range comes from a control's single-precision limits and is taken in single precision.
#pragma once

#include "adapter/parameters/WarpedRangeParameter.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class VoltOctaveParameter : public WarpedRangeParameter
{
public:
    VoltOctaveParameter(const TChar* title, ParamID id, const TChar* units, ParamValue minPlain,
                        ParamValue maxPlain, ParamValue defaultValuePlain, int32 stepCount, int32 flags,
                        UnitID unitId);

    ParamValue toPlain(ParamValue valueNormalized) const SMTG_OVERRIDE;
    ParamValue toNormalized(ParamValue plainValue) const SMTG_OVERRIDE;

    OBJ_METHODS(VoltOctaveParameter, WarpedRangeParameter)
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
