// A two-dimensional control: the handle's x and y (0 to 1 each, y downward) share one float
// value (see calculateValue).
#pragma once

#include "cparamdisplay.h"

namespace VSTGUI {

class CXYPad : public CParamDisplay
{
public:
    explicit CXYPad(const CRect& size = CRect(0, 0, 0, 0));

    void setStopTrackingOnMouseExit(bool state) { stopTrackingOnMouseExit = state; }
    bool getStopTrackingOnMouseExit() const { return stopTrackingOnMouseExit; }

    // floor(x * 1000 + .5) * .001 + floor(y * 1000 + .5) * .0000001
    static float calculateValue(float x, float y);
    static void calculateXY(float value, float& x, float& y);

    void setValue(float val) override;
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseCancel() override;
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& buttons) override;
    CView* newCopy() const override { return new CXYPad(*this); }

protected:
    void boundValues(float& x, float& y) const;

    float mouseStartValue{0};
    CPoint mouseChangeStartPoint;
    CPoint lastMouseChangePoint;
    bool stopTrackingOnMouseExit{false};
};

} // namespace VSTGUI
