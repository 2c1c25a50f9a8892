// UTF-16 <-> UTF-8 conversion for the texts a VST3 plug-in exchanges with its host.
#pragma once

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/vst/vsttypes.h"

#include <cstddef>
#include <string>

namespace TessalineHost {

// UTF-8 of a UTF-16 text that ends at its terminator or after maxChars characters, whichever comes
// first (fixed-size fields may lack a terminator). Unpaired surrogates become U+FFFD.
std::string toUtf8(const Steinberg::Vst::TChar* text, size_t maxChars = static_cast<size_t>(-1));

// UTF-16 of a UTF-8 text. Malformed bytes become U+FFFD.
std::u16string toUtf16(const std::string& text);

// Copies the UTF-16 form of text into a String128 field, truncated to 127 characters and
// terminated (a surrogate pair is never split).
void toString128(const std::string& text, Steinberg::Vst::String128 out);

// The 16 bytes of a class id as 32 upper-case hexadecimal digits, in memory order.
std::string cidToHex(const Steinberg::TUID cid);

} // namespace TessalineHost
