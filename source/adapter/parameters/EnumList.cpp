#include "adapter/parameters/EnumList.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

std::optional<std::string> enumListItem(const char* text, int32_t k)
{
    if (k < 0)
        return std::nullopt;
    const std::string list = text ? text : "";
    size_t start = 0;
    for (int32_t j = 0;; ++j)
    {
        const size_t comma = list.find(',', start);
        if (j == k)
        {
            const std::string item =
                list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            if (item == "SWITCH_OFF")
                return std::string("OFF");
            if (item == "SWITCH_ON")
                return std::string("ON");
            return item;
        }
        if (comma == std::string::npos)
            return std::nullopt;
        start = comma + 1;
    }
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
