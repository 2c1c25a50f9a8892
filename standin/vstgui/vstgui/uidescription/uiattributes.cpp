#include "uiattributes.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace VSTGUI {

const std::string* UIAttributes::getAttributeValue(const std::string& name) const
{
    for (const auto& a : attributes)
        if (a.first == name)
            return &a.second;
    return nullptr;
}

void UIAttributes::setAttribute(const std::string& name, const std::string& value)
{
    for (auto& a : attributes)
        if (a.first == name)
        {
            a.second = value;
            return;
        }
    attributes.emplace_back(name, value);
}

void UIAttributes::removeAttribute(const std::string& name)
{
    for (auto it = attributes.begin(); it != attributes.end(); ++it)
        if (it->first == name)
        {
            attributes.erase(it);
            return;
        }
}

void UIAttributes::merge(const UIAttributes& other)
{
    for (const auto& a : other.attributes)
        setAttribute(a.first, a.second);
}

bool UIAttributes::stringToDouble(const std::string& text, double& d)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE || !std::isfinite(v))
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end != 0)
        return false;
    d = v;
    return true;
}

bool UIAttributes::stringToPoint(const std::string& text, CPoint& p)
{
    const auto comma = text.find(',');
    if (comma == std::string::npos)
        return false;
    double x, y;
    if (!stringToDouble(text.substr(0, comma), x) || !stringToDouble(text.substr(comma + 1), y))
        return false;
    p = CPoint(x, y);
    return true;
}

bool UIAttributes::stringToGeometry(const std::string& text, CPoint& p, bool isSize)
{
    CPoint read;
    if (!stringToPoint(text, read))
        return false;
    const CCoord lo = isSize ? 0 : -kMaxExtent;
    p = CPoint(std::clamp(read.x, lo, kMaxExtent), std::clamp(read.y, lo, kMaxExtent));
    return true;
}

bool UIAttributes::getPointAttribute(const std::string& name, CPoint& p) const
{
    const std::string* v = getAttributeValue(name);
    return v && stringToPoint(*v, p);
}

bool UIAttributes::getRectAttribute(const std::string& name, CRect& r) const
{
    const std::string* v = getAttributeValue(name);
    if (!v)
        return false;
    double values[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i)
    {
        const size_t comma = v->find(',', start);
        if ((i < 3) == (comma == std::string::npos))
            return false;
        if (!stringToDouble(v->substr(start, comma == std::string::npos ? std::string::npos : comma - start),
                            values[i]))
            return false;
        start = comma + 1;
    }
    r = CRect(values[0], values[1], values[2], values[3]);
    return true;
}

bool UIAttributes::getBooleanAttribute(const std::string& name, bool& b) const
{
    const std::string* v = getAttributeValue(name);
    if (!v)
        return false;
    if (*v == "true")
        b = true;
    else if (*v == "false")
        b = false;
    else
        return false;
    return true;
}

bool UIAttributes::getIntegerAttribute(const std::string& name, int32_t& i) const
{
    double d;
    if (!getDoubleAttribute(name, d) || d < -2147483648.0 || d > 2147483647.0)
        return false;
    i = static_cast<int32_t>(d);
    return true;
}

bool UIAttributes::getDoubleAttribute(const std::string& name, double& d) const
{
    const std::string* v = getAttributeValue(name);
    return v && stringToDouble(*v, d);
}

} // namespace VSTGUI
