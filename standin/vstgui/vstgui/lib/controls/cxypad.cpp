#include "cxypad.h"

#include "../cdrawcontext.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

CXYPad::CXYPad(const CRect& size)
    : CParamDisplay(size)
{
    setMax(2.f);
    setWantsFocus(true);
}

float CXYPad::calculateValue(float x, float y)
{
    x = std::floor(x * 1000.f + 0.5f) * 0.001f;
    y = std::floor(y * 1000.f + 0.5f) * 0.0000001f;
    return x + y;
}

void CXYPad::calculateXY(float value, float& x, float& y)
{
    x = std::floor(value * 1000.f + 0.5f) * 0.001f;
    y = std::floor((value - x) * 10000000.f + 0.5f) * 0.001f;
}

void CXYPad::boundValues(float& x, float& y) const
{
    x = std::clamp(x, 0.f, 1.f);
    y = std::clamp(y, 0.f, 1.f);
}

void CXYPad::setValue(float val)
{
    // The encoded pair is stored as it is; min and max do not apply to it.
    value = val;
}

void CXYPad::draw(CDrawContext* context)
{
    drawBack(context);
    float x, y;
    calculateXY(getValue(), x, y);
    const CCoord r = getRoundRectRadius();
    const CCoord w = getWidth() - r, h = getHeight() - r;
    CRect handle(size.left + x * w, size.top + y * h, size.left + x * w + r, size.top + y * h + r);
    context->setFillColor(getFontColor());
    context->setDrawMode(kAntiAliasing);
    context->drawEllipse(handle, kDrawFilled);
    setDirty(false);
}

CMouseEventResult CXYPad::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    const CCoord r = getRoundRectRadius();
    mouseStartValue = getValue();
    mouseChangeStartPoint = where;
    mouseChangeStartPoint.offset(-size.left - r / 2., -size.top - r / 2.);
    lastMouseChangePoint = mouseChangeStartPoint;
    beginEdit();
    return onMouseMoved(where, buttons);
}

CMouseEventResult CXYPad::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton() || !isEditing())
        return kMouseEventNotHandled;
    if (stopTrackingOnMouseExit && !hitTest(where, buttons))
    {
        endEdit();
        return kMouseMoveEventHandledButDontNeedMoreEvents;
    }
    const CCoord r = getRoundRectRadius();
    const CCoord w = getWidth() - r, h = getHeight() - r;
    CPoint p(where);
    p.offset(-size.left - r / 2., -size.top - r / 2.);
    float x = w > 0 ? static_cast<float>(p.x / w) : 0.f;
    float y = h > 0 ? static_cast<float>(p.y / h) : 0.f;
    boundValues(x, y);
    setValue(calculateValue(x, y));
    if (listener && isDirty())
        listener->valueChanged(this);
    invalid();
    lastMouseChangePoint = p;
    return kMouseEventHandled;
}

CMouseEventResult CXYPad::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    if (!isEditing())
        return kMouseEventNotHandled;
    endEdit();
    return kMouseEventHandled;
}

CMouseEventResult CXYPad::onMouseCancel()
{
    if (!isEditing())
        return kMouseEventNotHandled;
    setValue(mouseStartValue);
    if (listener && isDirty())
        listener->valueChanged(this);
    invalid();
    endEdit();
    return kMouseEventHandled;
}

bool CXYPad::onWheel(const CPoint&, const CMouseWheelAxis& axis, const float& distance,
                     const CButtonState& buttons)
{
    float x, y;
    calculateXY(getValue(), x, y);
    const float step = wheelInc * ((buttons & kZoomModifier) ? 0.1f : 1.f) * distance;
    if (axis == kMouseWheelAxisX)
        x += step;
    else
        y -= step;
    boundValues(x, y);
    beginEdit();
    setValue(calculateValue(x, y));
    if (listener && isDirty())
        listener->valueChanged(this);
    invalid();
    endEdit();
    return true;
}

} // namespace VSTGUI
