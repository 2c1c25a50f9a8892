#include "adapter/parameters/WholeRangeParameter.h"

#include "pluginterfaces/base/ustring.h"

#include <algorithm>
#include <cmath>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

void WholeRangeParameter::toString(ParamValue valueNormalized, String128 string) const
{
    const double v = std::isfinite(valueNormalized) ? std::clamp(valueNormalized, 0.0, 1.0) : 0.0;
    const double plain = getMin() + std::floor(v * (getMax() - getMin()) + 0.5);
    UString wrapper(string, str16BufferSize(String128));
    if (!wrapper.printInt(static_cast<int64>(plain)))
        string[0] = 0;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
