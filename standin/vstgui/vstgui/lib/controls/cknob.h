// Knobs: CKnobBase maps the pointer to the value (circular, relative circular or linear drag,
// wheel, fine adjustment with kZoomModifier, default value on double click or with
// kDefaultValueModifier); CKnob draws a handle line, CAnimKnob a filmstrip frame.
#pragma once

#include "../ccolor.h"
#include "ccontrol.h"

namespace VSTGUI {

class CKnobBase : public CControl
{
public:
    CKnobBase(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background);
    CKnobBase(const CKnobBase& k);

    virtual void setStartAngle(float val);
    float getStartAngle() const { return startAngle; }
    virtual void setRangeAngle(float val);
    float getRangeAngle() const { return rangeAngle; }
    virtual void setZoomFactor(float val) { zoomFactor = val; }
    float getZoomFactor() const { return zoomFactor; }
    virtual void setInsetValue(CCoord val) { inset = val; }
    CCoord getInsetValue() const { return inset; }

    // Angle (radians, from startAngle) of a value and the value of a pointer position.
    virtual void valueToPoint(CPoint& point) const;
    virtual float valueFromPoint(CPoint& point) const;

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseCancel() override;
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;

protected:
    int32_t knobMode() const;

    float startAngle{0};
    float rangeAngle{0};
    float halfAngle{0};
    float aCoef{0};
    float bCoef{0};
    float zoomFactor{1.5f};
    CCoord inset{3};

    // Drag state
    CPoint firstPoint;
    CPoint lastPoint;
    float startValue{0};
    float entryValue{0};
    float range{0};
    float coef{0};
    CButtonState oldButton;
    bool modeLinear{false};
    bool dragging{false};
};

class CKnob : public CKnobBase
{
public:
    CKnob(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background, CBitmap* handle,
          const CPoint& offset = CPoint(0, 0));
    CKnob(const CKnob& k);
    ~CKnob() override;

    void setHandleBitmap(CBitmap* bitmap);
    CBitmap* getHandleBitmap() const { return pHandle; }
    void setColorHandle(const CColor& color) { colorHandle = color; }
    const CColor& getColorHandle() const { return colorHandle; }
    void setColorShadowHandle(const CColor& color) { colorShadowHandle = color; }
    const CColor& getColorShadowHandle() const { return colorShadowHandle; }
    void setHandleLineWidth(CCoord width) { handleLineWidth = width; }
    CCoord getHandleLineWidth() const { return handleLineWidth; }

    void draw(CDrawContext* context) override;
    CView* newCopy() const override { return new CKnob(*this); }

protected:
    CPoint offset;
    CBitmap* pHandle{nullptr};
    CColor colorHandle{kWhiteCColor};
    CColor colorShadowHandle{kGreyCColor};
    CCoord handleLineWidth{1.};
};

class CAnimKnob : public CKnobBase
{
public:
    CAnimKnob(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
              const CPoint& offset = CPoint(0, 0));
    CAnimKnob(const CRect& size, IControlListener* listener, int32_t tag, int32_t subPixmaps,
              CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint(0, 0));
    CAnimKnob(const CAnimKnob& k);

    void setNumSubPixmaps(int32_t n) { subPixmaps = n; }
    int32_t getNumSubPixmaps() const { return subPixmaps; }
    void setHeightOfOneImage(const CCoord& h) { heightOfOneImage = h; }
    CCoord getHeightOfOneImage() const { return heightOfOneImage; }
    void setInverseBitmap(bool state) { inverseBitmap = state; }
    bool getInverseBitmap() const { return inverseBitmap; }
    // The filmstrip frame shown for the current value.
    int32_t getFrameIndex() const;

    void setBackground(CBitmap* background) override;
    void draw(CDrawContext* context) override;
    CView* newCopy() const override { return new CAnimKnob(*this); }

protected:
    CPoint offset;
    int32_t subPixmaps{0};
    CCoord heightOfOneImage{0};
    bool inverseBitmap{false};
};

} // namespace VSTGUI
