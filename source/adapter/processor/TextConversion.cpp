#include "adapter/processor/TextConversion.h"

#include <cstring>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at `p`, advancing it; malformed input yields U+FFFD.
char32_t decodeUtf8(const unsigned char*& p)
{
    const unsigned char lead = *p++;
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t code = 0;
    if ((lead & 0xE0) == 0xC0)
    {
        extra = 1;
        code = lead & 0x1F;
    }
    else if ((lead & 0xF0) == 0xE0)
    {
        extra = 2;
        code = lead & 0x0F;
    }
    else if ((lead & 0xF8) == 0xF0)
    {
        extra = 3;
        code = lead & 0x07;
    }
    else
        return kReplacement;
    for (int i = 0; i < extra; ++i)
    {
        if ((*p & 0xC0) != 0x80)
            return kReplacement; // stop before the offending byte; it is decoded next
        code = (code << 6) | (*p++ & 0x3F);
    }
    const bool overlong =
        (extra == 1 && code < 0x80) || (extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000);
    if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return kReplacement;
    return code;
}
} // namespace

void copyUtf8ToUtf16(const char* utf8, char16* out, size_t capacity)
{
    if (!out || capacity == 0)
        return;
    size_t used = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8 ? utf8 : "");
    while (*p)
    {
        const char32_t code = decodeUtf8(p);
        const size_t units = code > 0xFFFF ? 2 : 1;
        if (used + units >= capacity)
            break;
        if (units == 2)
        {
            const char32_t v = code - 0x10000;
            out[used++] = static_cast<char16>(0xD800 + (v >> 10));
            out[used++] = static_cast<char16>(0xDC00 + (v & 0x3FF));
        }
        else
            out[used++] = static_cast<char16>(code);
    }
    out[used] = 0;
}

std::string utf16ToAscii(const char16* text)
{
    std::string result;
    for (const char16* c = text; c && *c; ++c)
        result.push_back(*c < 0x80 ? static_cast<char>(*c) : '?');
    return result;
}

void copyTruncated(char* out, size_t capacity, const char* text)
{
    if (!out || capacity == 0)
        return;
    std::memset(out, 0, capacity);
    if (!text)
        return;
    const size_t length = strnlen(text, capacity - 1);
    std::memcpy(out, text, length);
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
