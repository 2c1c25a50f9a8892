// A momentary button: max while pressed inside it, min again on release.
#pragma once

#include "ccontrol.h"

namespace VSTGUI {

class CKickButton : public CControl
{
public:
    CKickButton(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                const CPoint& offset = CPoint(0, 0));
    CKickButton(const CRect& size, IControlListener* listener, int32_t tag, CCoord heightOfOneImage,
                CBitmap* background, const CPoint& offset = CPoint(0, 0));
    CKickButton(const CKickButton& b);

    void setHeightOfOneImage(const CCoord& h) { heightOfOneImage = h; }
    CCoord getHeightOfOneImage() const { return heightOfOneImage; }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseCancel() override;
    CView* newCopy() const override { return new CKickButton(*this); }

protected:
    CPoint offset;
    CCoord heightOfOneImage{0};
    // The stock state while the pointer is pressed: the value the press started from.
    float fEntryState{0};
};

} // namespace VSTGUI
