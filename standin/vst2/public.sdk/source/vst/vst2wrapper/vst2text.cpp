#include "public.sdk/source/vst/vst2wrapper/vst2text.h"

#include <cstdint>

namespace Steinberg {
namespace Vst {
namespace Vst2Text {

namespace {
// Length of the UTF-8 character starting with byte b (1 for stray continuation bytes).
size_t sequenceLength(unsigned char b)
{
    if (b >= 0xF0 && b < 0xF8)
        return 4;
    if (b >= 0xE0)
        return b < 0xF0 ? 3 : 1;
    if (b >= 0xC0)
        return 2;
    return 1;
}

// Encodes code point c; returns its length (0 when it does not fit into room bytes).
size_t encode(uint32_t c, char* out, size_t room)
{
    const size_t length = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    if (length > room)
        return 0;
    if (length == 1)
    {
        out[0] = static_cast<char>(c);
        return 1;
    }
    for (size_t k = length - 1; k > 0; --k, c >>= 6)
        out[k] = static_cast<char>(0x80 | (c & 0x3F));
    static const unsigned char lead[] = {0, 0, 0xC0, 0xE0, 0xF0};
    out[0] = static_cast<char>(lead[length] | c);
    return length;
}
} // namespace

void copyUtf8(const char* text, char* out, size_t size)
{
    if (!out || size == 0)
        return;
    size_t used = 0;
    while (text && text[used] != 0)
    {
        const size_t length = sequenceLength(static_cast<unsigned char>(text[used]));
        size_t k = 0;
        while (k < length && text[used + k] != 0)
            ++k;
        if (k < length || used + length >= size)
            break; // a cut sequence or no room for it and the terminator
        for (k = 0; k < length; ++k)
            out[used + k] = text[used + k];
        used += length;
    }
    out[used] = 0;
}

void copyUtf16(const char16* text, char* out, size_t size)
{
    if (!out || size == 0)
        return;
    size_t used = 0;
    for (size_t i = 0; text && text[i] != 0; ++i)
    {
        uint32_t c = static_cast<uint16_t>(text[i]);
        if (c >= 0xD800 && c < 0xDC00 && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
        {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint16_t>(text[i + 1]) - 0xDC00u);
            ++i;
        }
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD; // a lone surrogate
        const size_t length = encode(c, out + used, size - 1 - used);
        if (length == 0)
            break;
        used += length;
    }
    out[used] = 0;
}

void toString128(const char* text, String128 out)
{
    const size_t capacity = 128;
    size_t used = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text ? text : "");
    while (*bytes != 0 && used + 1 < capacity)
    {
        size_t length = sequenceLength(*bytes);
        uint32_t c = length == 1 ? *bytes : (*bytes & (0x7Fu >> length));
        size_t k = 1;
        for (; k < length && (bytes[k] & 0xC0) == 0x80; ++k)
            c = (c << 6) | (bytes[k] & 0x3Fu);
        if (k < length || (length == 1 && *bytes >= 0x80))
        {
            c = 0xFFFD;
            length = k;
        }
        bytes += length;
        if (c >= 0x10000)
        {
            if (used + 2 >= capacity)
                break;
            c -= 0x10000;
            out[used++] = static_cast<char16>(0xD800 + (c >> 10));
            out[used++] = static_cast<char16>(0xDC00 + (c & 0x3FF));
        }
        else
            out[used++] = static_cast<char16>(c);
    }
    out[used] = 0;
}

} // namespace Vst2Text
} // namespace Vst
} // namespace Steinberg
