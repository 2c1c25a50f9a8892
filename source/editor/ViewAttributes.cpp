#include "ViewAttributes.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace VSTGUI {
namespace ViewAttributes {

int32_t parseInt(const char* text)
{
    if (!text)
        return 0;
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    int64_t v = 0;
    bool any = false;
    for (; *p >= '0' && *p <= '9'; ++p)
    {
        any = true;
        v = v * 10 + (*p - '0');
        if (v > static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1)
            return 0;
    }
    if (!any)
        return 0;
    v = negative ? -v : v;
    if (v > std::numeric_limits<int32_t>::max() || v < std::numeric_limits<int32_t>::min())
        return 0;
    return static_cast<int32_t>(v);
}

CPoint parsePoint(const std::string& text)
{
    const auto comma = text.find(',');
    if (comma == std::string::npos)
        return CPoint(0, 0);
    return CPoint(parseInt(text.c_str()), parseInt(text.c_str() + comma + 1));
}

const std::string* find(const UIAttributes& attributes, const char* name)
{
    return attributes.getAttributeValue(name);
}

std::string text(const UIAttributes& attributes, const char* name)
{
    const std::string* v = find(attributes, name);
    return v ? *v : std::string();
}

bool has(const UIAttributes& attributes, const char* name) { return find(attributes, name) != nullptr; }

bool hasText(const UIAttributes& attributes, const char* name)
{
    const std::string* v = find(attributes, name);
    return v && !v->empty();
}

CPoint point(const UIAttributes& attributes, const char* name)
{
    const std::string* v = find(attributes, name);
    return v ? parsePoint(*v) : CPoint(0, 0);
}

int32_t integer(const UIAttributes& attributes, const char* name)
{
    const std::string* v = find(attributes, name);
    return v ? parseInt(v->c_str()) : 0;
}

bool flag(const UIAttributes& attributes, const char* name)
{
    const std::string* v = find(attributes, name);
    return v && *v == "true";
}

CRect rect(const UIAttributes& attributes)
{
    const CPoint origin = point(attributes, "origin");
    const CPoint extent = point(attributes, "size");
    const auto limit = static_cast<CCoord>(kMaxExtent);
    const CCoord left = std::clamp(origin.x, -limit, limit);
    const CCoord top = std::clamp(origin.y, -limit, limit);
    const CCoord width = std::clamp(extent.x, 0.0, limit);
    const CCoord height = std::clamp(extent.y, 0.0, limit);
    return CRect(left, top, left + width, top + height);
}

CColor color(const UIAttributes& attributes, const char* name, const IUIDescription* description)
{
    CColor c(255, 255, 255, 255);
    const std::string* v = find(attributes, name);
    if (v && description)
        description->getColor(v->c_str(), c);
    return c;
}

CBitmap* bitmap(const UIAttributes& attributes, const char* name)
{
    return new CBitmap(CResourceDescription(text(attributes, name) + ".png"));
}

std::optional<double> parseNumber(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace ViewAttributes
} // namespace VSTGUI
