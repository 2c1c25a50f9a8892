// A rectangle in view coordinates, with the geometry the views need.
#pragma once

#include "cpoint.h"

#include <algorithm>

namespace VSTGUI {

// Left/top inclusive rectangle in parent coordinates; right and bottom are left + width and
// top + height.
struct CRect
{
    constexpr CRect() = default;
    constexpr CRect(CCoord l, CCoord t, CCoord r, CCoord b)
        : left(l)
        , top(t)
        , right(r)
        , bottom(b)
    {}
    constexpr CRect(const CPoint& origin, const CPoint& size)
        : left(origin.x)
        , top(origin.y)
        , right(origin.x + size.x)
        , bottom(origin.y + size.y)
    {}

    CRect& operator()(CCoord l, CCoord t, CCoord r, CCoord b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
        return *this;
    }
    bool operator==(const CRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const CRect& o) const { return !(*this == o); }

    CCoord getWidth() const { return right - left; }
    CCoord getHeight() const { return bottom - top; }
    CRect& setWidth(CCoord w)
    {
        right = left + w;
        return *this;
    }
    CRect& setHeight(CCoord h)
    {
        bottom = top + h;
        return *this;
    }
    CPoint getTopLeft() const { return {left, top}; }
    CPoint getTopRight() const { return {right, top}; }
    CPoint getBottomLeft() const { return {left, bottom}; }
    CPoint getBottomRight() const { return {right, bottom}; }
    CPoint getCenter() const { return {left + getWidth() / 2., top + getHeight() / 2.}; }
    CPoint getSize() const { return {getWidth(), getHeight()}; }
    CRect& setTopLeft(const CPoint& p)
    {
        left = p.x;
        top = p.y;
        return *this;
    }
    CRect& setSize(const CPoint& s)
    {
        setWidth(s.x);
        return setHeight(s.y);
    }

    CRect& offset(CCoord x, CCoord y)
    {
        left += x;
        right += x;
        top += y;
        bottom += y;
        return *this;
    }
    CRect& offset(const CPoint& p) { return offset(p.x, p.y); }
    CRect& offsetInverse(const CPoint& p) { return offset(-p.x, -p.y); }
    CRect& moveTo(CCoord x, CCoord y) { return offset(x - left, y - top); }
    CRect& moveTo(const CPoint& p) { return moveTo(p.x, p.y); }
    CRect& inset(CCoord dx, CCoord dy)
    {
        left += dx;
        right -= dx;
        top += dy;
        bottom -= dy;
        return *this;
    }
    CRect& inset(const CPoint& p) { return inset(p.x, p.y); }
    CRect& extend(CCoord dx, CCoord dy) { return inset(-dx, -dy); }
    CRect& normalize()
    {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
        return *this;
    }
    bool isEmpty() const { return right <= left || bottom <= top; }

    bool pointInside(const CPoint& p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    bool rectOverlap(const CRect& r) const
    {
        return right > r.left && left < r.right && bottom > r.top && top < r.bottom;
    }
    // Intersection with r (empty when they do not overlap).
    CRect& bound(const CRect& r)
    {
        left = std::max(left, r.left);
        top = std::max(top, r.top);
        right = std::max(left, std::min(right, r.right));
        bottom = std::max(top, std::min(bottom, r.bottom));
        return *this;
    }
    CRect& unite(const CRect& r)
    {
        if (isEmpty())
            return *this = r;
        if (r.isEmpty())
            return *this;
        left = std::min(left, r.left);
        top = std::min(top, r.top);
        right = std::max(right, r.right);
        bottom = std::max(bottom, r.bottom);
        return *this;
    }

    CCoord left{0};
    CCoord top{0};
    CCoord right{0};
    CCoord bottom{0};
};

} // namespace VSTGUI
