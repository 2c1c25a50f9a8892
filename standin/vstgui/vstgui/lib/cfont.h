// Font descriptions. Faces the system lacks are matched by fontconfig to the closest family it
// has (Verdana or Arial become DejaVu Sans on Debian), keeping size, weight and slant.
#pragma once

#include "vstguibase.h"

#include <string>

namespace VSTGUI {

enum CTxtFace : int32_t
{
    kNormalFace = 0,
    kBoldFace = 1 << 1,
    kItalicFace = 1 << 2,
    kUnderlineFace = 1 << 3,
    kStrikethroughFace = 1 << 4
};

class CFontDesc : public CBaseObject
{
public:
    CFontDesc(const std::string& name = "", CCoord size = 0, int32_t style = kNormalFace);
    CFontDesc(const CFontDesc& font);
    ~CFontDesc() override;

    const std::string& getName() const { return name; }
    CCoord getSize() const { return size; }
    int32_t getStyle() const { return style; }

    void setName(const std::string& newName);
    void setSize(CCoord newSize);
    void setStyle(int32_t newStyle);

    bool operator==(const CFontDesc& o) const;
    bool operator!=(const CFontDesc& o) const { return !(*this == o); }

    // The pango description string ("DejaVu Sans Bold Italic 10px"); used as a cache key too.
    const std::string& getPangoDescription() const;

private:
    std::string name;
    CCoord size;
    int32_t style;
    mutable std::string pangoDescription;
};

using CFontRef = CFontDesc*;

// Predefined fonts. Sizes are VSTGUI's; the family is the system's default sans.
extern const CFontRef kSystemFont;
extern const CFontRef kNormalFontVeryBig;
extern const CFontRef kNormalFontBig;
extern const CFontRef kNormalFont;
extern const CFontRef kNormalFontSmall;
extern const CFontRef kNormalFontSmaller;
extern const CFontRef kNormalFontVerySmall;
extern const CFontRef kSymbolFont;

// The predefined fonts by their description names ("~ NormalFont"); nullptr when unknown.
CFontRef getPredefinedFont(const std::string& name);

} // namespace VSTGUI
