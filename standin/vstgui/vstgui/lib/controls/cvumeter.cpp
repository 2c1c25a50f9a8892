#include "cvumeter.h"

#include "../cbitmap.h"
#include "../cdrawcontext.h"

namespace VSTGUI {

CVuMeter::CVuMeter(const CRect& size, CBitmap* onBitmap, CBitmap* offBitmap, int32_t nbLed, int32_t style)
    : CControl(size, nullptr, -1, onBitmap)
    , nbLed(nbLed)
    , style(style)
    , rectOn(size)
    , rectOff(size)
{
    setOffBitmap(offBitmap);
    setWantsFocus(false);
}

CVuMeter::CVuMeter(const CVuMeter& v)
    : CControl(v)
    , nbLed(v.nbLed)
    , style(v.style)
    , decreaseValue(v.decreaseValue)
    , rectOn(v.rectOn)
    , rectOff(v.rectOff)
{
    setOffBitmap(v.offBitmap);
}

CVuMeter::~CVuMeter() { setOffBitmap(nullptr); }

void CVuMeter::setOffBitmap(CBitmap* bitmap)
{
    if (bitmap)
        bitmap->remember();
    if (offBitmap)
        offBitmap->forget();
    offBitmap = bitmap;
    setDirty();
}

void CVuMeter::setViewSize(const CRect& rect, bool doInvalid)
{
    CControl::setViewSize(rect, doInvalid);
    rectOn = size;
    rectOff = size;
}

void CVuMeter::setDirty(bool val)
{
    // The old value is the falling display level here, not a record of the last draw.
    CView::setDirty(val);
}

void CVuMeter::draw(CDrawContext* context)
{
    CBitmap* on = getOnBitmap();
    if (!on)
        return;
    bounceValue();
    float level = std::max(getOldValue() - decreaseValue, value);
    setOldValue(level);
    level = getRange() != 0 ? (level - vmin) / getRange() : 0.f;
    CRect r1(rectOn), r2(rectOff);
    CPoint pOn, pOff;
    const float n = static_cast<float>(nbLed > 0 ? nbLed : 1);
    if (style & kHorizontal)
    {
        const CCoord t = static_cast<CCoord>(static_cast<float>(static_cast<int32_t>(n * level + 0.5f)) / n
                                             * on->getWidth());
        pOff = CPoint(t, 0);
        r2.left += t;
        r1.right = rectOn.left + t;
    }
    else
    {
        const CCoord t = static_cast<CCoord>(
            static_cast<float>(static_cast<int32_t>(n * (1.f - level) + 0.5f)) / n * on->getHeight());
        pOn = CPoint(0, t);
        r2.bottom = rectOff.top + t;
        r1.top += t;
    }
    if (offBitmap)
        offBitmap->draw(context, r2, pOff);
    on->draw(context, r1, pOn);
    CView::setDirty(false);
}

} // namespace VSTGUI
