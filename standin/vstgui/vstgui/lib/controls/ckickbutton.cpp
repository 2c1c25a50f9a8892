#include "ckickbutton.h"

#include "../cbitmap.h"
#include "../cdrawcontext.h"

namespace VSTGUI {

CKickButton::CKickButton(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                         const CPoint& offset)
    : CControl(size, listener, tag, background)
    , offset(offset)
{
    heightOfOneImage = size.getHeight();
    setWantsFocus(true);
}

CKickButton::CKickButton(const CRect& size, IControlListener* listener, int32_t tag, CCoord heightOfOneImage,
                         CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background)
    , offset(offset)
    , heightOfOneImage(heightOfOneImage)
{
    setWantsFocus(true);
}

CKickButton::CKickButton(const CKickButton& b)
    : CControl(b)
    , offset(b.offset)
    , heightOfOneImage(b.heightOfOneImage)
{}

void CKickButton::draw(CDrawContext* context)
{
    if (CBitmap* b = getBackground())
    {
        const bool pressed = value == vmax;
        b->draw(context, size, CPoint(offset.x, offset.y + (pressed ? heightOfOneImage : 0)));
    }
    setDirty(false);
}

CMouseEventResult CKickButton::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    fEntryState = value;
    beginEdit();
    return onMouseMoved(where, buttons);
}

CMouseEventResult CKickButton::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (isEditing())
    {
        value = size.pointInside(where) ? vmax : vmin;
        if (isDirty())
            invalid();
    }
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    if (!isEditing())
        return kMouseEventNotHandled;
    if (value != vmin)
        valueChanged();
    value = vmin;
    valueChanged();
    if (isDirty())
        invalid();
    endEdit();
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseCancel()
{
    if (!isEditing())
        return kMouseEventNotHandled;
    value = fEntryState;
    if (isDirty())
        invalid();
    endEdit();
    return kMouseEventHandled;
}

} // namespace VSTGUI
