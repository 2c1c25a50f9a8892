// A level meter: the on bitmap lights the part of the meter up to the value, the off bitmap
// the rest, in nbLed steps; the value falls back by decreaseValue per draw.
#pragma once

#include "ccontrol.h"

#include <algorithm>

namespace VSTGUI {

class CVuMeter : public CControl
{
public:
    CVuMeter(const CRect& size, CBitmap* onBitmap, CBitmap* offBitmap, int32_t nbLed,
             int32_t style = kVertical);
    CVuMeter(const CVuMeter& vuMeter);
    ~CVuMeter() override;

    virtual void setOffBitmap(CBitmap* bitmap);
    CBitmap* getOffBitmap() const { return offBitmap; }
    virtual void setOnBitmap(CBitmap* bitmap) { setBackground(bitmap); }
    CBitmap* getOnBitmap() const { return getBackground(); }
    void setNbLed(int32_t n) { nbLed = n; }
    int32_t getNbLed() const { return nbLed; }
    void setStyle(int32_t newStyle) { style = newStyle; }
    int32_t getStyle() const { return style; }
    virtual void setDecreaseStepValue(float value) { decreaseValue = value; }
    float getDecreaseStepValue() const { return decreaseValue; }

    void setViewSize(const CRect& rect, bool invalid = true) override;
    void setDirty(bool val = true) override;
    void draw(CDrawContext* context) override;
    CView* newCopy() const override { return new CVuMeter(*this); }

protected:
    CBitmap* offBitmap{nullptr};
    int32_t nbLed;
    int32_t style;
    float decreaseValue{0.1f};
    CRect rectOn;
    CRect rectOff;
};

} // namespace VSTGUI
