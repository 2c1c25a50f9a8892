// Range parameter of a logarithmic control: the host value follows a 2.4-decade display curve,
// v = 10^(2.4 (u - 1)) for the linear position u of the plain value (u = 0 shows at -48 dB).
#pragma once

#include "adapter/parameters/WarpedRangeParameter.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class LogParameter : public WarpedRangeParameter
{
public:
    LogParameter(const TChar* title, ParamID id, const TChar* units, ParamValue minPlain, ParamValue maxPlain,
                 ParamValue defaultValuePlain, int32 stepCount, int32 flags, UnitID unitId);

    ParamValue toPlain(ParamValue valueNormalized) const SMTG_OVERRIDE;
    ParamValue toNormalized(ParamValue plainValue) const SMTG_OVERRIDE;

    OBJ_METHODS(LogParameter, WarpedRangeParameter)
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
