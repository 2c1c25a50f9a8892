#include "adapter/parameters/WarpedRangeParameter.h"

#include "adapter/parameters/ParameterRegistry.h"
#include "adapter/processor/TextConversion.h"

#include <optional>
#include <string>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

void WarpedRangeParameter::toString(ParamValue valueNormalized, String128 string) const
{
    const std::string text = CParameterRegistry::formatPlain(toPlain(valueNormalized), getPrecision());
    copyUtf8ToString128(text.c_str(), string);
}

bool WarpedRangeParameter::fromString(const TChar* string, ParamValue& valueNormalized) const
{
    if (!string)
        return false;
    const std::optional<double> plain = CParameterRegistry::parsePlain(utf16ToAscii(string).c_str());
    if (!plain)
        return false;
    valueNormalized = toNormalized(*plain);
    return true;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
