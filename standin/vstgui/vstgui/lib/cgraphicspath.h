// A vector path recorded as commands and replayed onto a draw context.
#pragma once

#include "crect.h"
#include "vstguibase.h"

#include <vector>

namespace VSTGUI {

class CGraphicsPath : public CBaseObject
{
public:
    void addRect(const CRect& rect);
    void addRoundRect(const CRect& rect, CCoord radius);
    void addEllipse(const CRect& rect);
    // Angles in degrees, clockwise from the positive x axis (y grows downward).
    void addArc(const CRect& rect, double startAngle, double endAngle, bool clockwise);
    void beginSubpath(const CPoint& start);
    void addLine(const CPoint& to);
    void addBezierCurve(const CPoint& control1, const CPoint& control2, const CPoint& end);
    void closeSubpath();

    enum class Op
    {
        Move,
        Line,
        Curve,
        Arc,
        NegativeArc,
        Close,
        Rect
    };
    struct Element
    {
        Op op;
        double v[6];
    };
    const std::vector<Element>& getElements() const { return elements; }

private:
    std::vector<Element> elements;
};

} // namespace VSTGUI
