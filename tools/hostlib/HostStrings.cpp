#include "HostStrings.h"

namespace TessalineHost {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80)
        out += static_cast<char>(c);
    else if (c < 0x800)
    {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    else if (c < 0x10000)
    {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendUtf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000)
        out += static_cast<char16_t>(c);
    else
    {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

// Decodes one UTF-8 sequence starting at text[i]; advances i past it.
char32_t decodeUtf8(const std::string& text, size_t& i)
{
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i++);
    if (lead < 0x80)
        return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || lead > 0xF4)
        return kReplacement;
    char32_t c = lead & (0x3F >> extra);
    for (int k = 0; k < extra; ++k)
    {
        if (i >= text.size() || (byte(i) & 0xC0) != 0x80)
            return kReplacement;
        c = (c << 6) | (byte(i++) & 0x3F);
    }
    static const char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (c < kMinimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return kReplacement;
    return c;
}

} // namespace

std::string toUtf8(const Steinberg::Vst::TChar* text, size_t maxChars)
{
    std::string out;
    if (!text)
        return out;
    for (size_t i = 0; i < maxChars && text[i] != 0; ++i)
    {
        char32_t c = static_cast<char16_t>(text[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < maxChars)
        {
            char32_t low = static_cast<char16_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF)
            {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF)
            c = kReplacement;
        appendUtf8(out, c);
    }
    return out;
}

std::u16string toUtf16(const std::string& text)
{
    std::u16string out;
    for (size_t i = 0; i < text.size();)
        appendUtf16(out, decodeUtf8(text, i));
    return out;
}

void toString128(const std::string& text, Steinberg::Vst::String128 out)
{
    const std::u16string wide = toUtf16(text);
    size_t n = wide.size() < 127 ? wide.size() : 127;
    if (n == 127 && wide[126] >= 0xD800 && wide[126] <= 0xDBFF)
        --n; // keep the pair whole
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<Steinberg::Vst::TChar>(wide[i]);
    for (size_t i = n; i < 128; ++i)
        out[i] = 0;
}

std::string cidToHex(const Steinberg::TUID cid)
{
    // On Linux FUID prints its 16 bytes in memory order, upper-case.
    Steinberg::FUID::String text;
    Steinberg::FUID::fromTUID(cid).toString(text);
    return text;
}

} // namespace TessalineHost
