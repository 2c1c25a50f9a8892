// Text conversions shared by the warped range parameters (logarithmic and volt/octave): both
// show and parse plain values and reach the curve through the parameter's own virtual
// toPlain/toNormalized.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

// Plain value of `valueNormalized` with the parameter's precision as decimals.
void warpedToString(const RangeParameter& parameter, ParamValue valueNormalized, String128 string);
// Leading number of the text (blanks skipped, trailing units ignored) -> normalized value.
// Refuses texts without a leading number and non-finite numbers ("inf", "nan"); no clamping.
bool warpedFromString(const RangeParameter& parameter, const TChar* string,
                      ParamValue& valueNormalized);

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
