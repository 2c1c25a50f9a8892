#include "CXYPadKa.h"

#include "vstgui/lib/cdrawcontext.h"

#include <algorithm>
#include <vector>

namespace VSTGUI {

namespace {

bool onlyLeftButton(const CButtonState& buttons) { return buttons.getButtonState() == kLButton; }

} // namespace

CXYPadKa::CXYPadKa(const CRect& size)
    : CXYPad(size)
{}

CXYPadKa::~CXYPadKa() = default;

bool CXYPadKa::pointInPolygon(int32_t count, const float* xs, const float* ys, float x, float y)
{
    bool inside = false;
    for (int32_t i = 0, j = count - 1; i < count; j = i++)
    {
        if ((ys[i] > y) != (ys[j] > y) && x < xs[i] + (xs[j] - xs[i]) * (y - ys[i]) / (ys[j] - ys[i]))
            inside = !inside;
    }
    return inside;
}

bool CXYPadKa::insideDiamond(float x, float y) const
{
    return pointInPolygon(4, m_fCornerX, m_fCornerY, x, y);
}

CMouseEventResult CXYPadKa::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!onlyLeftButton(buttons))
        return kMouseEventNotHandled;
    const CCoord r = getRoundRectRadius();
    mouseStartValue = getValue();
    mouseChangeStartPoint = where;
    mouseChangeStartPoint.offset(-size.left - r / 2., -size.top - r / 2.);
    m_bDragging = true;
    // The gesture opens before the first point is reported, so the host sees that point as
    // part of it rather than as a lone edit.
    if (!isEditing())
        beginEdit();
    onMouseMoved(where, buttons);
    return kMouseEventHandled;
}

CMouseEventResult CXYPadKa::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!onlyLeftButton(buttons))
    {
        m_bDragging = false;
        return kMouseEventNotHandled;
    }
    if (getStopTrackingOnMouseExit() && !hitTest(where, buttons))
    {
        endEdit();
        return kMouseMoveEventHandledButDontNeedMoreEvents;
    }
    const CCoord r = getRoundRectRadius();
    const CCoord w = getWidth() - r, h = getHeight() - r;
    float x = w != 0 ? static_cast<float>((where.x - size.left - r / 2.) / w) : 0.f;
    float y = h != 0 ? static_cast<float>((where.y - size.top - r / 2.) / h) : 0.f;
    if (!m_bJoystick)
    {
        boundValues(x, y);
    }
    else if (insideDiamond(x, y))
    {
        boundValues(x, y);
        m_fLastX = x;
        m_fLastY = y;
    }
    else
    {
        // The handle stops at the diamond's edge: the last point inside stands.
        x = m_fLastX;
        y = m_fLastY;
    }
    if (m_bDragging)
    {
        value = calculateValue(x, 1.f - y);
        if (listener && isDirty())
            listener->valueChanged(this);
        value = calculateValue(x, y);
    }
    invalid();
    m_bDragging = true;
    lastMouseChangePoint = where;
    return kMouseEventHandled;
}

CMouseEventResult CXYPadKa::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    CXYPad::onMouseUp(where, buttons);
    m_bDragging = false;
    return kMouseEventHandled;
}

void CXYPadKa::setValue(float val)
{
    if (m_bDragging)
    {
        value = val;
        return;
    }
    // A value from the parameters: y grows upward there.
    float x, yUp;
    calculateXY(val, x, yUp);
    float y = 1.f - yUp;
    if (m_bJoystick)
    {
        if (!insideDiamond(x, y))
            return;
    }
    else
    {
        boundValues(x, y);
    }
    value = calculateValue(x, y);
}

void CXYPadKa::drawHandle(CDrawContext* context)
{
    float x, y;
    calculateXY(getValue(), x, y);
    const CCoord r = getRoundRectRadius();
    const CCoord left = size.left + x * (getWidth() - r);
    const CCoord top = size.top + y * (getHeight() - r);
    context->setFillColor(getFontColor());
    context->setDrawMode(kAntiAliasing);
    context->drawEllipse(CRect(left, top, left + r, top + r), kDrawFilled);
}

void CXYPadKa::draw(CDrawContext* context)
{
    if (!m_bJoystick)
    {
        drawBack(context);
    }
    else
    {
        const CCoord midX = size.left + static_cast<float>(size.right - size.left) / 2.f;
        const CCoord midY = size.top + static_cast<float>(size.bottom - size.top) / 2.f;
        const CPoint leftMid(size.left, midY), topMid(midX, size.top);
        const CPoint rightMid(size.right, midY), bottomMid(midX, size.bottom);
        context->setLineWidth(2);
        context->setFillColor(getBackColor());
        context->setFrameColor(getFrameColor());
        context->drawPolygon({leftMid, topMid, rightMid, bottomMid, leftMid}, kDrawFilledAndStroked);
        context->setLineWidth(1);
        context->drawLine(topMid, bottomMid);
        context->drawLine(leftMid, rightMid);
    }
    drawHandle(context);
    setDirty(false);
}

} // namespace VSTGUI
