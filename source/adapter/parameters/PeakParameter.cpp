#include "adapter/parameters/PeakParameter.h"

#include "adapter/processor/TextConversion.h"

#include <cmath>
#include <cstdio>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

PeakParameter::PeakParameter(int32 flags, ParamID id, const TChar* title)
    : Parameter(title, id, nullptr, 0.5, 0, flags, 0)
{
    // A fresh meter reads full scale until the registration zeroes it.
    setNormalized(1.0);
}

void PeakParameter::toString(ParamValue valueNormalized, String128 string) const
{
    char text[64] = "-\xE2\x88\x9E"; // minus infinity
    if (valueNormalized > 0.0001)
    {
        const float decibels = std::log10(static_cast<float>(valueNormalized)) * 20.0f;
        std::snprintf(text, sizeof text, "%.3f", static_cast<double>(decibels));
    }
    copyUtf8ToString128(text, string);
}

bool PeakParameter::fromString(const TChar* /*string*/, ParamValue& /*valueNormalized*/) const
{
    return false;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
