// A point in view coordinates (points, not device pixels).
#pragma once

#include "vstguifwd.h"

namespace VSTGUI {

struct CPoint
{
    constexpr CPoint() = default;
    constexpr CPoint(CCoord x_, CCoord y_)
        : x(x_)
        , y(y_)
    {}

    CPoint& offset(CCoord c1, CCoord c2)
    {
        x += c1;
        y += c2;
        return *this;
    }
    CPoint& offset(const CPoint& p) { return offset(p.x, p.y); }
    CPoint& offsetInverse(const CPoint& p) { return offset(-p.x, -p.y); }
    CPoint& operator()(CCoord x_, CCoord y_)
    {
        x = x_;
        y = y_;
        return *this;
    }
    bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const CPoint& o) const { return !(*this == o); }
    CPoint operator+(const CPoint& o) const { return {x + o.x, y + o.y}; }
    CPoint operator-(const CPoint& o) const { return {x - o.x, y - o.y}; }
    CPoint operator-() const { return {-x, -y}; }
    CPoint& operator+=(const CPoint& o) { return offset(o); }
    CPoint& operator-=(const CPoint& o) { return offsetInverse(o); }

    CCoord x{0};
    CCoord y{0};
};

} // namespace VSTGUI
