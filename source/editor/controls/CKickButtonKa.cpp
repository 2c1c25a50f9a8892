#include "CKickButtonKa.h"

namespace VSTGUI {

CKickButtonKa::CKickButtonKa(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                             const CPoint& offset)
    : CKickButton(size, listener, tag, background, offset)
{}

CMouseEventResult CKickButtonKa::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    value = 1.0f;
    fEntryState = 1.0f;
    beginEdit();
    if (m_nKickMode == kReportPressAndRelease || m_nKickMode == kReportPress)
    {
        if (value != 0.0f)
            valueChanged();
        if (isDirty())
            invalid();
    }
    return CKickButton::onMouseMoved(where, buttons);
}

CMouseEventResult CKickButtonKa::onMouseUp(CPoint&, const CButtonState&)
{
    // One report at most: the minimum, whether the pointer is released inside or outside.
    value = vmin;
    if (m_nKickMode == kReportPressAndRelease || m_nKickMode == kReportRelease)
        valueChanged();
    if (isDirty())
        invalid();
    if (isEditing())
        endEdit();
    return kMouseEventHandled;
}

} // namespace VSTGUI
