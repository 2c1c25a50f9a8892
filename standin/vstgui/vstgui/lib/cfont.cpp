#include "cfont.h"

#include <cmath>
#include <map>
#include <vector>

namespace VSTGUI {

CFontDesc::CFontDesc(const std::string& name, CCoord size, int32_t style)
    : name(name)
    , size(size)
    , style(style)
{}

CFontDesc::CFontDesc(const CFontDesc& font)
    : CBaseObject()
    , name(font.name)
    , size(font.size)
    , style(font.style)
{}

CFontDesc::~CFontDesc() = default;

void CFontDesc::setName(const std::string& newName)
{
    name = newName;
    pangoDescription.clear();
}

void CFontDesc::setSize(CCoord newSize)
{
    size = newSize;
    pangoDescription.clear();
}

void CFontDesc::setStyle(int32_t newStyle)
{
    style = newStyle;
    pangoDescription.clear();
}

bool CFontDesc::operator==(const CFontDesc& o) const
{
    return name == o.name && size == o.size && style == o.style;
}

const std::string& CFontDesc::getPangoDescription() const
{
    if (pangoDescription.empty())
    {
        // Families are a fontconfig list: the named face first, then the sans face that Debian
        // ships, so a missing "Verdana" still gets a sans face of the same size and style.
        std::string family = name.empty() ? "Sans" : name;
        pangoDescription = family + ",DejaVu Sans,Sans";
        if (style & kBoldFace)
            pangoDescription += " Bold";
        if (style & kItalicFace)
            pangoDescription += " Italic";
        // Sizes are in points of the layout, i.e. pixels at scale 1.
        pangoDescription += " " + std::to_string(static_cast<int>(std::lround(size > 0 ? size : 12))) + "px";
    }
    return pangoDescription;
}

namespace {
// Predefined fonts live as long as the module: a host loads and unloads a plug-in many times in
// one process, so each unload hands them back instead of leaving them behind.
class PredefinedFonts
{
public:
    ~PredefinedFonts()
    {
        for (CFontDesc* font : m_Fonts)
            font->forget();
    }
    CFontDesc* add(CFontDesc* font)
    {
        m_Fonts.push_back(font);
        return font;
    }

private:
    std::vector<CFontDesc*> m_Fonts;
};

CFontDesc* predefined(const char* name, CCoord size, int32_t style = kNormalFace)
{
    static PredefinedFonts fonts;
    return fonts.add(new CFontDesc(name, size, style));
}
} // namespace

const CFontRef kSystemFont = predefined("Sans", 12);
const CFontRef kNormalFontVeryBig = predefined("Sans", 18);
const CFontRef kNormalFontBig = predefined("Sans", 14);
const CFontRef kNormalFont = predefined("Sans", 12);
const CFontRef kNormalFontSmall = predefined("Sans", 11);
const CFontRef kNormalFontSmaller = predefined("Sans", 10);
const CFontRef kNormalFontVerySmall = predefined("Sans", 9);
const CFontRef kSymbolFont = predefined("Symbol", 12);

CFontRef getPredefinedFont(const std::string& name)
{
    static const std::map<std::string, CFontRef> fonts = {
        {"~ SystemFont", kSystemFont},
        {"~ NormalFontVeryBig", kNormalFontVeryBig},
        {"~ NormalFontBig", kNormalFontBig},
        {"~ NormalFont", kNormalFont},
        {"~ NormalFontSmall", kNormalFontSmall},
        {"~ NormalFontSmaller", kNormalFontSmaller},
        {"~ NormalFontVerySmall", kNormalFontVerySmall},
        {"~ SymbolFont", kSymbolFont},
    };
    auto it = fonts.find(name);
    return it == fonts.end() ? nullptr : it->second;
}

} // namespace VSTGUI
