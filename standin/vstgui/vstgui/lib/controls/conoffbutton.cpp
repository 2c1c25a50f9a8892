#include "conoffbutton.h"

#include "../cbitmap.h"
#include "../cdrawcontext.h"

namespace VSTGUI {

COnOffButton::COnOffButton(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                           int32_t style)
    : CControl(size, listener, tag, background)
    , style(style)
{
    setWantsFocus(true);
}

COnOffButton::COnOffButton(const COnOffButton& b)
    : CControl(b)
    , style(b.style)
    , backgroundOffset(b.backgroundOffset)
    , heightOfOneImage(b.heightOfOneImage)
{}

void COnOffButton::draw(CDrawContext* context)
{
    if (CBitmap* b = getBackground())
    {
        // Off frame on top, on frame below it.
        const CCoord frameHeight = heightOfOneImage > 0 ? heightOfOneImage : b->getHeight() / 2.;
        const bool on = getValueNormalized() > 0.5f;
        b->draw(context, size, CPoint(backgroundOffset.x, backgroundOffset.y + (on ? frameHeight : 0)));
    }
    setDirty(false);
}

void COnOffButton::toggle()
{
    beginEdit();
    value = getValueNormalized() > 0.5f ? vmin : vmax;
    invalid();
    valueChanged();
    endEdit();
}

CMouseEventResult COnOffButton::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    toggle();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

int32_t COnOffButton::onKeyDown(VstKeyCode& keyCode)
{
    if (keyCode.virt != VKEY_RETURN && keyCode.virt != VKEY_SPACE)
        return -1;
    toggle();
    return 1;
}

bool COnOffButton::onWheel(const CPoint&, const CMouseWheelAxis& axis, const float& distance,
                           const CButtonState&)
{
    // Up switches on, down switches off.
    if (axis != kMouseWheelAxisY || distance == 0)
        return false;
    const bool on = getValueNormalized() > 0.5f;
    if ((distance > 0) != on)
        toggle();
    return true;
}

} // namespace VSTGUI
