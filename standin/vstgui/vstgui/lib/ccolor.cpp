#include "ccolor.h"

#include <cctype>
#include <cstdlib>
#include <map>

namespace VSTGUI {

bool CColor::fromString(const std::string& text)
{
    if (text.size() != 7 && text.size() != 9)
        return false;
    if (text[0] != '#')
        return false;
    for (size_t i = 1; i < text.size(); ++i)
        if (!std::isxdigit(static_cast<unsigned char>(text[i])))
            return false;
    auto byteAt = [&](size_t pos) {
        return static_cast<uint8_t>(std::strtoul(text.substr(pos, 2).c_str(), nullptr, 16));
    };
    red = byteAt(1);
    green = byteAt(3);
    blue = byteAt(5);
    alpha = text.size() == 9 ? byteAt(7) : 255;
    return true;
}

bool getPredefinedColor(const std::string& name, CColor& color)
{
    static const std::map<std::string, CColor> predefined = {
        {"~ TransparentCColor", kTransparentCColor},
        {"~ BlackCColor", kBlackCColor},
        {"~ WhiteCColor", kWhiteCColor},
        {"~ GreyCColor", kGreyCColor},
        {"~ RedCColor", kRedCColor},
        {"~ GreenCColor", kGreenCColor},
        {"~ BlueCColor", kBlueCColor},
        {"~ YellowCColor", kYellowCColor},
        {"~ CyanCColor", kCyanCColor},
        {"~ MagentaCColor", kMagentaCColor},
    };
    auto it = predefined.find(name);
    if (it == predefined.end())
        return false;
    color = it->second;
    return true;
}

} // namespace VSTGUI
