// The entries of a list control's comma-separated text as every host and panel shows them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

// Item k of a comma-separated list ("SWITCH_ON"/"SWITCH_OFF" shown as "ON"/"OFF");
// nothing when the text has no item k. Items are not trimmed.
std::optional<std::string> enumListItem(const char* text, int32_t k);

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
