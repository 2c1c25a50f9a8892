// Copies of our 8-bit (UTF-8) texts into the SDK's fixed-size fields. Every copy is truncated
// to the field's capacity and always terminated, whatever the source length: control texts
// can hold up to 1023 characters, while SDK fields hold 128 UTF-16 units or a fixed byte count.
#pragma once

#include "pluginterfaces/base/ftypes.h"
#include "pluginterfaces/vst/vsttypes.h"

#include <cstddef>
#include <string>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

// UTF-8 -> UTF-16 into a buffer of `capacity` units (terminator included). A character is
// never split: a surrogate pair that does not fit is dropped whole. Bad bytes become U+FFFD.
void copyUtf8ToUtf16(const char* utf8, char16* out, size_t capacity);
inline void copyUtf8ToString128(const char* utf8, String128 out) { copyUtf8ToUtf16(utf8, out, 128); }
// UTF-16 -> 8-bit text for number parsing; anything outside ASCII becomes '?'.
std::string utf16ToAscii(const char16* text);
// Byte copy into a fixed char field, truncated and zero-filled behind the text.
void copyTruncated(char* out, size_t capacity, const char* text);

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
