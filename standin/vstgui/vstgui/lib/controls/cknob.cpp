#include "cknob.h"

#include "../cbitmap.h"
#include "../cdrawcontext.h"

namespace VSTGUI {

CKnob::CKnob(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background, CBitmap* handle,
             const CPoint& offset)
    : CKnobBase(size, listener, tag, background)
    , offset(offset)
{
    setHandleBitmap(handle);
}

CKnob::CKnob(const CKnob& k)
    : CKnobBase(k)
    , offset(k.offset)
    , colorHandle(k.colorHandle)
    , colorShadowHandle(k.colorShadowHandle)
    , handleLineWidth(k.handleLineWidth)
{
    setHandleBitmap(k.pHandle);
}

CKnob::~CKnob() { setHandleBitmap(nullptr); }

void CKnob::setHandleBitmap(CBitmap* bitmap)
{
    if (bitmap)
        bitmap->remember();
    if (pHandle)
        pHandle->forget();
    pHandle = bitmap;
    setDirty();
}

void CKnob::draw(CDrawContext* context)
{
    if (getBackground())
        getBackground()->draw(context, size, offset);
    CPoint where;
    valueToPoint(where);
    where.offset(size.left, size.top);
    if (pHandle)
    {
        const CCoord w = pHandle->getWidth(), h = pHandle->getHeight();
        pHandle->draw(context, CRect(where.x - w / 2., where.y - h / 2., where.x + w / 2., where.y + h / 2.));
    }
    else
    {
        const CPoint center = size.getCenter();
        context->setDrawMode(kAntiAliasing);
        context->setLineWidth(handleLineWidth);
        context->setFrameColor(colorShadowHandle);
        context->drawLine(CPoint(center.x + 1, center.y + 1), CPoint(where.x + 1, where.y + 1));
        context->setFrameColor(colorHandle);
        context->drawLine(center, where);
    }
    setDirty(false);
}

} // namespace VSTGUI
