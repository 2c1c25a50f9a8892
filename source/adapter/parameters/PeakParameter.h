// Read-only meter parameter: plain and normalized are the same number (0 .. 1); the host
// shows it in decibels.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class PeakParameter : public Parameter
{
public:
    PeakParameter(int32 flags, ParamID id, const TChar* title);

    // [main thread] 20 log10(v) with three decimals, or "-\u221E" at and below -80 dB.
    void toString(ParamValue valueNormalized, String128 string) const SMTG_OVERRIDE;
    // Meters cannot be typed in: always refused.
    bool fromString(const TChar* string, ParamValue& valueNormalized) const SMTG_OVERRIDE;

    OBJ_METHODS(PeakParameter, Parameter)
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
