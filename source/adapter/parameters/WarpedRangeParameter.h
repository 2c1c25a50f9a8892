// Range parameter on a warped curve (logarithmic, volt/octave): a subclass gives the curve
// through toPlain/toNormalized; texts show and parse plain values through that curve.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class WarpedRangeParameter : public RangeParameter
{
public:
    using RangeParameter::RangeParameter;

    // Plain value of `valueNormalized` with the parameter's precision as decimals.
    void toString(ParamValue valueNormalized, String128 string) const SMTG_OVERRIDE;
    // Leading number of the text (blanks skipped, trailing units ignored) -> normalized value.
    // Refuses texts without a leading number and non-finite numbers ("inf", "nan"); no clamping.
    bool fromString(const TChar* string, ParamValue& valueNormalized) const SMTG_OVERRIDE;

    OBJ_METHODS(WarpedRangeParameter, RangeParameter)
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
