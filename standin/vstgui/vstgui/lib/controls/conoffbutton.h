// A two-state switch: a click flips between min and max; the bitmap holds the off frame on top
// of the on frame.
#pragma once

#include "ccontrol.h"

namespace VSTGUI {

class COnOffButton : public CControl
{
public:
    enum Style
    {
        kPreListenerUpdate = 1 << 0,
        kPostListenerUpdate = 1 << 1
    };

    COnOffButton(const CRect& size, IControlListener* listener = nullptr, int32_t tag = -1,
                 CBitmap* background = nullptr, int32_t style = kPreListenerUpdate);
    COnOffButton(const COnOffButton& b);

    int32_t getStyle() const { return style; }
    void setStyle(int32_t newStyle) { style = newStyle; }
    void setBackgroundOffset(const CPoint& p) { backgroundOffset = p; }
    const CPoint& getBackgroundOffset() const { return backgroundOffset; }
    void setHeightOfOneImage(CCoord h) { heightOfOneImage = h; }
    CCoord getHeightOfOneImage() const { return heightOfOneImage; }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& buttons) override;
    CView* newCopy() const override { return new COnOffButton(*this); }

protected:
    void toggle();
    int32_t style;
    CPoint backgroundOffset;
    CCoord heightOfOneImage{0};
};

} // namespace VSTGUI
