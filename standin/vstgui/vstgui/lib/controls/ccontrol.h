// Base of the value-carrying views: a float value within min..max, a tag naming what it edits,
// a listener that hears its edits, and the begin/end of each user gesture.
#pragma once

#include "../cview.h"
#include "icontrollistener.h"

namespace VSTGUI {

enum CControlEnum : int32_t
{
    kHorizontal = 1 << 0,
    kVertical = 1 << 1,
    kShadowText = 1 << 2,
    kLeft = 1 << 3,
    kRight = 1 << 4,
    kTop = 1 << 5,
    kBottom = 1 << 6,
    k3DIn = 1 << 7,
    k3DOut = 1 << 8,
    kPopupStyle = 1 << 9,
    kCheckStyle = 1 << 10,
    kMultipleCheckStyle,
    kNoTextStyle = 1 << 11,
    kNoDrawStyle = 1 << 12,
    kDoubleClickStyle = 1 << 13,
    kNoFrame = 1 << 14,
    kRoundRectStyle = 1 << 15
};

class CControl : public CView
{
public:
    CControl(const CRect& size, IControlListener* listener = nullptr, int32_t tag = -1,
             CBitmap* background = nullptr);
    CControl(const CControl& c);
    ~CControl() override;

    virtual void setValue(float val);
    virtual float getValue() const { return value; }
    virtual void setValueNormalized(float val);
    virtual float getValueNormalized() const;
    virtual void setMin(float val);
    virtual float getMin() const { return vmin; }
    virtual void setMax(float val);
    virtual float getMax() const { return vmax; }
    float getRange() const { return vmax - vmin; }
    virtual void setOldValue(float val) { oldValue = val; }
    float getOldValue() const { return oldValue; }
    virtual void setDefaultValue(float val) { defaultValue = val; }
    float getDefaultValue() const { return defaultValue; }
    virtual void setWheelInc(float val) { wheelInc = val; }
    float getWheelInc() const { return wheelInc; }
    // Keeps the value within min..max.
    virtual void bounceValue();

    virtual void setTag(int32_t val);
    int32_t getTag() const { return tag; }
    virtual void setListener(IControlListener* l) { listener = l; }
    IControlListener* getListener() const { return listener; }

    // Gestures: beginEdit/endEdit nest; the listener hears the outermost pair.
    virtual void beginEdit();
    virtual void endEdit();
    bool isEditing() const { return editing > 0; }
    // Tells the listener about the current value.
    virtual void valueChanged();
    // Sets the default value and reports it when the buttons ask for it (double click or the
    // default modifier with the left button); true when it did.
    virtual bool checkDefaultValue(CButtonState button);

    // Redraws when the value changed since the last draw.
    bool isDirty() const;
    void setDirty(bool val = true) override;

    CView* newCopy() const override { return new CControl(*this); }

    // Modifier that gives fine adjustment and the one that resets to the default value.
    static int32_t kZoomModifier;
    static int32_t kDefaultValueModifier;

protected:
    IControlListener* listener;
    int32_t tag;
    float oldValue{1.f};
    float defaultValue{0.5f};
    float value{0.f};
    float vmin{0.f};
    float vmax{1.f};
    float wheelInc{0.1f};
    int32_t editing{0};
};

} // namespace VSTGUI
