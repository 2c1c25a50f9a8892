// Range parameter of an integer control: one step per whole value, shown as that whole value.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class WholeRangeParameter : public RangeParameter
{
public:
    using RangeParameter::RangeParameter;

    // The nearest whole value, as the DSP object takes it: "0" and "1" for a two-valued control,
    // never the SDK's "Off" and "On".
    void toString(ParamValue valueNormalized, String128 string) const SMTG_OVERRIDE;

    OBJ_METHODS(WholeRangeParameter, RangeParameter)
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
