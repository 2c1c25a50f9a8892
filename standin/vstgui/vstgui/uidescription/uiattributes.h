// The attributes of one element of a description, by name, in file order.
#pragma once

#include "../lib/crect.h"

#include <string>
#include <utility>
#include <vector>

namespace VSTGUI {

class UIAttributes
{
public:
    UIAttributes() = default;

    bool hasAttribute(const std::string& name) const { return getAttributeValue(name) != nullptr; }
    const std::string* getAttributeValue(const std::string& name) const;
    void setAttribute(const std::string& name, const std::string& value);
    void removeAttribute(const std::string& name);
    size_t size() const { return attributes.size(); }
    auto begin() const { return attributes.begin(); }
    auto end() const { return attributes.end(); }
    // Later attributes of 'other' replace earlier ones of the same name.
    void merge(const UIAttributes& other);

    // Typed readers; false (result unchanged) when missing or not of that form.
    bool getPointAttribute(const std::string& name, CPoint& p) const;
    bool getRectAttribute(const std::string& name, CRect& r) const;
    bool getBooleanAttribute(const std::string& name, bool& b) const;
    bool getIntegerAttribute(const std::string& name, int32_t& i) const;
    bool getDoubleAttribute(const std::string& name, double& d) const;

    // Numbers are finite: "nan", "inf" and values beyond a double are not numbers here.
    static bool stringToPoint(const std::string& text, CPoint& p);
    static bool stringToDouble(const std::string& text, double& d);

    // Largest coordinate of a view's origin or size, in points: far beyond any screen, and small
    // enough that window sizes and pixel counts derived from it fit their integers.
    static constexpr CCoord kMaxExtent = 16384;
    // A point from text held within the view geometry's range: each coordinate clamped into
    // [-kMaxExtent, kMaxExtent], or into [0, kMaxExtent] for a size.
    static bool stringToGeometry(const std::string& text, CPoint& p, bool isSize);

private:
    std::vector<std::pair<std::string, std::string>> attributes;
};

} // namespace VSTGUI
