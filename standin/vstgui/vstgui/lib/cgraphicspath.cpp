#include "cgraphicspath.h"

namespace VSTGUI {

void CGraphicsPath::addRect(const CRect& r)
{
    elements.push_back({Op::Rect, {r.left, r.top, r.getWidth(), r.getHeight(), 0, 0}});
}

void CGraphicsPath::addRoundRect(const CRect& r, CCoord radius)
{
    if (radius <= 0)
    {
        addRect(r);
        return;
    }
    radius = std::min(radius, std::min(r.getWidth(), r.getHeight()) / 2.);
    beginSubpath({r.left + radius, r.top});
    addArc({r.right - 2 * radius, r.top, r.right, r.top + 2 * radius}, 270, 360, true);
    addArc({r.right - 2 * radius, r.bottom - 2 * radius, r.right, r.bottom}, 0, 90, true);
    addArc({r.left, r.bottom - 2 * radius, r.left + 2 * radius, r.bottom}, 90, 180, true);
    addArc({r.left, r.top, r.left + 2 * radius, r.top + 2 * radius}, 180, 270, true);
    closeSubpath();
}

void CGraphicsPath::addEllipse(const CRect& r)
{
    // A full arc of the circle scaled to the rectangle; the arc element carries both radii.
    elements.push_back({Op::Move, {r.right, r.top + r.getHeight() / 2., 0, 0, 0, 0}});
    addArc(r, 0, 360, true);
    closeSubpath();
}

void CGraphicsPath::addArc(const CRect& r, double startAngle, double endAngle, bool clockwise)
{
    const double rad = 3.14159265358979323846 / 180.;
    elements.push_back({clockwise ? Op::Arc : Op::NegativeArc,
                        {r.left + r.getWidth() / 2., r.top + r.getHeight() / 2., r.getWidth() / 2.,
                         r.getHeight() / 2., startAngle * rad, endAngle * rad}});
}

void CGraphicsPath::beginSubpath(const CPoint& p) { elements.push_back({Op::Move, {p.x, p.y, 0, 0, 0, 0}}); }

void CGraphicsPath::addLine(const CPoint& p) { elements.push_back({Op::Line, {p.x, p.y, 0, 0, 0, 0}}); }

void CGraphicsPath::addBezierCurve(const CPoint& c1, const CPoint& c2, const CPoint& e)
{
    elements.push_back({Op::Curve, {c1.x, c1.y, c2.x, c2.y, e.x, e.y}});
}

void CGraphicsPath::closeSubpath() { elements.push_back({Op::Close, {0, 0, 0, 0, 0, 0}}); }

} // namespace VSTGUI
