// Text exchange with a VST2 host: fixed 8-bit buffers holding UTF-8, filled without splitting a
// character and always terminated.
#pragma once

#include "pluginterfaces/base/ftypes.h"
#include "pluginterfaces/vst/vsttypes.h"

#include <cstddef>

namespace Steinberg {
namespace Vst {
namespace Vst2Text {

// Copies UTF-8 text into out[size], cut before the first character that does not fit.
void copyUtf8(const char* text, char* out, size_t size);
// Converts terminated UTF-16 text into UTF-8 in out[size], cut the same way.
void copyUtf16(const char16* text, char* out, size_t size);
// Converts terminated UTF-8 text into a terminated String128; malformed bytes become U+FFFD.
void toString128(const char* text, String128 out);

} // namespace Vst2Text
} // namespace Vst
} // namespace Steinberg
