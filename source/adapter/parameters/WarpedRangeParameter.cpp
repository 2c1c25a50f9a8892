#include "adapter/parameters/WarpedRangeParameter.h"

#include "adapter/processor/TextConversion.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

void WarpedRangeParameter::toString(ParamValue valueNormalized, String128 string) const
{
    char text[512] = {};
    const double plain = toPlain(valueNormalized);
    std::snprintf(text, sizeof text, "%.*lf", static_cast<int>(getPrecision()), plain);
    copyUtf8ToString128(text, string);
}

bool WarpedRangeParameter::fromString(const TChar* string, ParamValue& valueNormalized) const
{
    if (!string)
        return false;
    const std::string text = utf16ToAscii(string);
    double plain = 0.0;
    if (std::sscanf(text.c_str(), "%lf", &plain) != 1 || !std::isfinite(plain))
        return false;
    valueNormalized = toNormalized(plain);
    return true;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
