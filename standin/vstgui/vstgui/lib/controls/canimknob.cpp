// The filmstrip knob: draws the frame of its bitmap that matches the value.
#include "cknob.h"

#include "../cbitmap.h"
#include "../cdrawcontext.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

CAnimKnob::CAnimKnob(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                     const CPoint& offset)
    : CKnobBase(size, listener, tag, nullptr)
    , offset(offset)
{
    heightOfOneImage = size.getHeight();
    setBackground(background);
}

CAnimKnob::CAnimKnob(const CRect& size, IControlListener* listener, int32_t tag, int32_t subPixmaps,
                     CCoord heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CKnobBase(size, listener, tag, background)
    , offset(offset)
    , subPixmaps(subPixmaps)
    , heightOfOneImage(heightOfOneImage)
{}

CAnimKnob::CAnimKnob(const CAnimKnob& k)
    : CKnobBase(k)
    , offset(k.offset)
    , subPixmaps(k.subPixmaps)
    , heightOfOneImage(k.heightOfOneImage)
    , inverseBitmap(k.inverseBitmap)
{}

void CAnimKnob::setBackground(CBitmap* background)
{
    CKnobBase::setBackground(background);
    // Without an explicit count the strip holds as many frames as fit.
    if (background && heightOfOneImage > 0 && subPixmaps == 0)
        subPixmaps = static_cast<int32_t>(background->getHeight() / heightOfOneImage);
}

int32_t CAnimKnob::getFrameIndex() const
{
    if (subPixmaps <= 1)
        return 0;
    float v = getValueNormalized();
    if (inverseBitmap)
        v = 1.f - v;
    // The small bias keeps value k/(n-1) on frame k despite float rounding.
    const int32_t frame = static_cast<int32_t>(std::floor(static_cast<double>(v) * (subPixmaps - 1) + 1e-4));
    return std::clamp(frame, 0, subPixmaps - 1);
}

void CAnimKnob::draw(CDrawContext* context)
{
    if (getBackground() && heightOfOneImage > 0)
    {
        CPoint where(offset.x, offset.y + getFrameIndex() * heightOfOneImage);
        getBackground()->draw(context, size, where);
    }
    setDirty(false);
}

} // namespace VSTGUI
