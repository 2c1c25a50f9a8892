// An RGBA colour of 8-bit channels, with the toolkit's named colours.
#pragma once

#include <cstdint>
#include <string>

namespace VSTGUI {

struct CColor
{
    constexpr CColor() = default;
    constexpr CColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255)
        : red(r)
        , green(g)
        , blue(b)
        , alpha(a)
    {}

    bool operator==(const CColor& o) const
    {
        return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
    }
    bool operator!=(const CColor& o) const { return !(*this == o); }

    double normRed() const { return red / 255.; }
    double normGreen() const { return green / 255.; }
    double normBlue() const { return blue / 255.; }
    double normAlpha() const { return alpha / 255.; }

    // "#rrggbb" or "#rrggbbaa"; false (colour unchanged) for anything else.
    bool fromString(const std::string& text);

    uint8_t red{255};
    uint8_t green{255};
    uint8_t blue{255};
    uint8_t alpha{255};
};

constexpr const CColor kTransparentCColor{255, 255, 255, 0};
constexpr const CColor kBlackCColor{0, 0, 0, 255};
constexpr const CColor kWhiteCColor{255, 255, 255, 255};
constexpr const CColor kGreyCColor{127, 127, 127, 255};
constexpr const CColor kRedCColor{255, 0, 0, 255};
constexpr const CColor kGreenCColor{0, 255, 0, 255};
constexpr const CColor kBlueCColor{0, 0, 255, 255};
constexpr const CColor kYellowCColor{255, 255, 0, 255};
constexpr const CColor kCyanCColor{0, 255, 255, 255};
constexpr const CColor kMagentaCColor{255, 0, 255, 255};

// The predefined colours by their description names ("~ BlackCColor"); false when unknown.
bool getPredefinedColor(const std::string& name, CColor& color);

} // namespace VSTGUI
