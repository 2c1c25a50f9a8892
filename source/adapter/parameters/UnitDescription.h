// One unit (group) of host parameters: its id, parent, name and the program list it offers.
#pragma once

#include <cstdint>
#include <string>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

struct UnitDescription
{
    int32_t id = 0;
    int32_t parentId = 0;
    std::string name;
    int32_t programListId = -1; // -1: none
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
