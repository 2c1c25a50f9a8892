// How a knob turns the pointer, the wheel and the modifier keys into its value.
#include "cknob.h"

#include "../cframe.h"

#include <cmath>

namespace VSTGUI {

namespace {
constexpr float kPi = 3.14159265358979f;
// Pointer travel (points) that sweeps the whole range in linear mode.
constexpr float kLinearRange = 200.f;
} // namespace

// Reports and redraws when the value moved from 'before' (a comparison with the last drawn
// value would report values the listener already has).
static void reportChange(CKnobBase* knob, float before)
{
    if (knob->getValue() != before)
    {
        knob->valueChanged();
        knob->invalid();
    }
}

CKnobBase::CKnobBase(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background)
    : CControl(size, listener, tag, background)
{
    setStartAngle(3.f * kPi / 4.f);
    setRangeAngle(3.f * kPi / 2.f);
}

CKnobBase::CKnobBase(const CKnobBase& k)
    : CControl(k)
    , startAngle(k.startAngle)
    , rangeAngle(k.rangeAngle)
    , zoomFactor(k.zoomFactor)
    , inset(k.inset)
{}

void CKnobBase::setStartAngle(float val)
{
    startAngle = val;
    setDirty();
}

void CKnobBase::setRangeAngle(float val)
{
    rangeAngle = val;
    setDirty();
}

int32_t CKnobBase::knobMode() const
{
    if (parentFrame && parentFrame->getEditor())
        return parentFrame->getEditor()->getKnobMode();
    return kCircularMode;
}

void CKnobBase::valueToPoint(CPoint& point) const
{
    // Angles grow clockwise from three o'clock (y points down).
    const double angle = startAngle + getValueNormalized() * rangeAngle;
    const double radius = std::min(getWidth(), getHeight()) / 2. - inset;
    point.x = getWidth() / 2. + std::cos(angle) * radius;
    point.y = getHeight() / 2. + std::sin(angle) * radius;
}

float CKnobBase::valueFromPoint(CPoint& point) const
{
    const double dx = point.x - getWidth() / 2.;
    const double dy = point.y - getHeight() / 2.;
    if (rangeAngle == 0)
        return value;
    double a = std::atan2(dy, dx) - startAngle;
    const double twoPi = 2. * kPi;
    a = std::fmod(a, twoPi);
    if (a < 0)
        a += twoPi;
    const double sweep = std::fabs(rangeAngle);
    if (rangeAngle < 0)
        a = twoPi - a;
    if (a > sweep)
        // In the dead zone below the knob: the nearer end wins.
        a = (a - sweep < twoPi - a) ? sweep : 0.;
    return static_cast<float>(vmin + a / sweep * (vmax - vmin));
}

CMouseEventResult CKnobBase::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    beginEdit();
    if (checkDefaultValue(buttons))
    {
        endEdit();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    dragging = true;
    firstPoint = where;
    lastPoint = where;
    startValue = value;
    entryValue = value;
    oldButton = buttons;
    const int32_t mode = knobMode();
    modeLinear = mode == kLinearMode;
    range = kLinearRange;
    if (buttons & kZoomModifier)
        range *= zoomFactor;
    coef = (vmax - vmin) / range;
    if (mode == kCircularMode)
    {
        // The knob jumps to the pointer.
        CPoint p(where.x - size.left, where.y - size.top);
        const float before = value;
        value = valueFromPoint(p);
        bounceValue();
        reportChange(this, before);
    }
    return kMouseEventHandled;
}

CMouseEventResult CKnobBase::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!dragging)
        return kMouseEventNotHandled;
    if (!buttons.isLeftButton())
        return kMouseEventHandled;
    const int32_t mode = knobMode();
    const float before = value;
    if (modeLinear)
    {
        const float diff = static_cast<float>((firstPoint.y - where.y) + (where.x - firstPoint.x));
        if ((buttons & kZoomModifier) != (oldButton & kZoomModifier))
        {
            // Switching fine adjustment keeps the value under the pointer.
            range = kLinearRange;
            if (buttons & kZoomModifier)
                range *= zoomFactor;
            const float coef2 = (vmax - vmin) / range;
            entryValue += diff * (coef - coef2);
            coef = coef2;
            oldButton = buttons;
        }
        value = entryValue + diff * coef;
    }
    else if (mode == kRelativCircularMode)
    {
        CPoint last(lastPoint.x - size.left, lastPoint.y - size.top);
        CPoint now(where.x - size.left, where.y - size.top);
        const double a0 = std::atan2(last.y - getHeight() / 2., last.x - getWidth() / 2.);
        const double a1 = std::atan2(now.y - getHeight() / 2., now.x - getWidth() / 2.);
        double d = a1 - a0;
        if (d > kPi)
            d -= 2 * kPi;
        else if (d < -kPi)
            d += 2 * kPi;
        float scale = (buttons & kZoomModifier) ? 1.f / zoomFactor : 1.f;
        if (rangeAngle != 0)
            value += static_cast<float>(d / rangeAngle) * (vmax - vmin) * scale;
    }
    else
    {
        CPoint p(where.x - size.left, where.y - size.top);
        const float v = valueFromPoint(p);
        // No jumps across the dead zone from one end to the other.
        if (std::fabs(v - value) < (vmax - vmin) / 2.f)
            value = v;
    }
    lastPoint = where;
    bounceValue();
    reportChange(this, before);
    return kMouseEventHandled;
}

CMouseEventResult CKnobBase::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    if (!dragging)
        return kMouseEventNotHandled;
    dragging = false;
    endEdit();
    return kMouseEventHandled;
}

CMouseEventResult CKnobBase::onMouseCancel()
{
    if (!dragging)
        return kMouseEventNotHandled;
    dragging = false;
    const float before = value;
    value = startValue;
    reportChange(this, before);
    endEdit();
    return kMouseEventHandled;
}

bool CKnobBase::onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                        const CButtonState& buttons)
{
    if (axis != kMouseWheelAxisY)
        return false;
    float step = wheelInc * (vmax - vmin);
    if (buttons & kZoomModifier)
        step *= 0.1f;
    beginEdit();
    const float before = value;
    value += distance * step;
    bounceValue();
    reportChange(this, before);
    endEdit();
    return true;
}

int32_t CKnobBase::onKeyDown(VstKeyCode& keyCode)
{
    float step = wheelInc * (vmax - vmin);
    if (keyCode.modifier & MODIFIER_SHIFT)
        step *= 0.1f;
    if (keyCode.virt == VKEY_UP || keyCode.virt == VKEY_RIGHT)
        ;
    else if (keyCode.virt == VKEY_DOWN || keyCode.virt == VKEY_LEFT)
        step = -step;
    else
        return -1;
    beginEdit();
    const float before = value;
    value += step;
    bounceValue();
    reportChange(this, before);
    endEdit();
    return 1;
}

} // namespace VSTGUI
