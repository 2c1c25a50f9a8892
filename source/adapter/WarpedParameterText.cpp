#include "WarpedParameterText.h"

#include "TextConversion.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

void warpedToString(const RangeParameter& parameter, ParamValue valueNormalized, String128 string)
{
    char text[512] = {};
    const double plain = parameter.toPlain(valueNormalized);
    std::snprintf(text, sizeof text, "%.*lf", static_cast<int>(parameter.getPrecision()), plain);
    copyUtf8ToString128(text, string);
}

bool warpedFromString(const RangeParameter& parameter, const TChar* string,
                      ParamValue& valueNormalized)
{
    if (!string)
        return false;
    const std::string text = utf16ToAscii(string);
    double plain = 0.0;
    if (std::sscanf(text.c_str(), "%lf", &plain) != 1 || !std::isfinite(plain))
        return false;
    valueNormalized = parameter.toNormalized(plain);
    return true;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
