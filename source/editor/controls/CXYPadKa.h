// An XY pad as track pad or joystick. The joystick's point stays inside the diamond through
// the middles of the pad's edges. The pad keeps y growing downward for drawing; its listener
// (a pad controller) receives y growing upward, as parameters expect.
#pragma once

#include "vstgui/lib/controls/cxypad.h"

namespace VSTGUI {

class CXYPadKa : public CXYPad
{
public:
    explicit CXYPadKa(const CRect& size = CRect(0, 0, 0, 0));
    ~CXYPadKa() override;

    void setJoystick(bool joystick) { m_bJoystick = joystick; }
    bool isJoystick() const { return m_bJoystick; }

    // Even-odd rule over the polygon of count corners.
    static bool pointInPolygon(int32_t count, const float* xs, const float* ys, float x, float y);

    void setValue(float val) override;
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CView* newCopy() const override { return new CXYPadKa(*this); }

private:
    bool insideDiamond(float x, float y) const;
    void drawHandle(CDrawContext* context);

    bool m_bDragging = false;
    bool m_bJoystick = false;
    float m_fCornerX[4] = {0.0f, 0.5f, 1.0f, 0.5f};
    float m_fCornerY[4] = {0.5f, 0.0f, 0.5f, 1.0f};
    float m_fLastX = 0.0f;
    float m_fLastY = 0.0f;
};

} // namespace VSTGUI
