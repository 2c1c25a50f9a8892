#include "ccontrol.h"

#include "../cframe.h"

#include <algorithm>

namespace VSTGUI {

int32_t CControl::kZoomModifier = kShift;
int32_t CControl::kDefaultValueModifier = kControl;

CControl::CControl(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background)
    : CView(size)
    , listener(listener)
    , tag(tag)
{
    setBackground(background);
    setWantsFocus(true);
}

CControl::CControl(const CControl& c)
    : CView(c)
    , listener(c.listener)
    , tag(c.tag)
    , oldValue(c.oldValue)
    , defaultValue(c.defaultValue)
    , value(c.value)
    , vmin(c.vmin)
    , vmax(c.vmax)
    , wheelInc(c.wheelInc)
{}

CControl::~CControl() = default;

void CControl::setValue(float val) { value = std::clamp(val, std::min(vmin, vmax), std::max(vmin, vmax)); }

void CControl::setValueNormalized(float val)
{
    if (getRange() == 0)
    {
        setValue(vmin);
        return;
    }
    setValue(vmin + std::clamp(val, 0.f, 1.f) * getRange());
}

float CControl::getValueNormalized() const
{
    if (getRange() == 0)
        return 0.f;
    return (value - vmin) / getRange();
}

void CControl::setMin(float val) { vmin = val; }

void CControl::setMax(float val) { vmax = val; }

void CControl::bounceValue() { value = std::clamp(value, std::min(vmin, vmax), std::max(vmin, vmax)); }

void CControl::setTag(int32_t val)
{
    if (val == tag)
        return;
    if (listener)
        listener->controlTagWillChange(this);
    tag = val;
    if (listener)
        listener->controlTagDidChange(this);
}

void CControl::beginEdit()
{
    if (editing++ == 0)
    {
        if (listener)
            listener->controlBeginEdit(this);
        if (parentFrame && parentFrame->getEditor())
            parentFrame->getEditor()->beginEdit(tag);
    }
}

void CControl::endEdit()
{
    if (editing == 0)
        return;
    if (--editing == 0)
    {
        if (parentFrame && parentFrame->getEditor())
            parentFrame->getEditor()->endEdit(tag);
        if (listener)
            listener->controlEndEdit(this);
    }
}

void CControl::valueChanged()
{
    if (listener)
        listener->valueChanged(this);
}

bool CControl::checkDefaultValue(CButtonState button)
{
    const bool doubleClick = button.isLeftButton() && button.isDoubleClick();
    const bool modifierClick = button.isLeftButton() && (button.getModifierState() == kDefaultValueModifier);
    if (!doubleClick && !modifierClick)
        return false;
    const float defaultValue_ = getDefaultValue();
    if (defaultValue_ != getValue())
    {
        beginEdit();
        setValue(defaultValue_);
        valueChanged();
        endEdit();
        setDirty();
    }
    return true;
}

bool CControl::isDirty() const { return oldValue != value || CView::isDirty(); }

void CControl::setDirty(bool val)
{
    CView::setDirty(val);
    if (val)
        oldValue = (value != -1.f) ? -1.f : 0.f;
    else
        oldValue = value;
}

} // namespace VSTGUI
