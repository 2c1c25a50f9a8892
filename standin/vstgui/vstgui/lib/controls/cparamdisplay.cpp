#include "cparamdisplay.h"

#include "../cbitmap.h"
#include "../cdrawcontext.h"
#include "../cgraphicspath.h"

#include <cstdio>

namespace VSTGUI {

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, int32_t style)
    : CControl(size, nullptr, -1, background)
    , style(style)
    , fontID(kNormalFont)
{
    setWantsFocus(false);
}

CParamDisplay::CParamDisplay(const CParamDisplay& p)
    : CControl(p)
    , valueToStringFunction(p.valueToStringFunction)
    , horiTxtAlign(p.horiTxtAlign)
    , style(p.style)
    , valuePrecision(p.valuePrecision)
    , fontID(p.fontID)
    , fontColor(p.fontColor)
    , backColor(p.backColor)
    , frameColor(p.frameColor)
    , shadowColor(p.shadowColor)
    , textInset(p.textInset)
    , shadowTextOffset(p.shadowTextOffset)
    , backgroundOffset(p.backgroundOffset)
    , roundRectRadius(p.roundRectRadius)
    , frameWidth(p.frameWidth)
    , antialias(p.antialias)
{}

CParamDisplay::~CParamDisplay() = default;

void CParamDisplay::setFont(CFontRef f)
{
    if (!f)
        return;
    fontID = f;
    drawStyleChanged();
}

void CParamDisplay::setFontColor(const CColor& c)
{
    fontColor = c;
    drawStyleChanged();
}

void CParamDisplay::setBackColor(const CColor& c)
{
    backColor = c;
    drawStyleChanged();
}

void CParamDisplay::setFrameColor(const CColor& c)
{
    frameColor = c;
    drawStyleChanged();
}

void CParamDisplay::setShadowColor(const CColor& c)
{
    shadowColor = c;
    drawStyleChanged();
}

void CParamDisplay::setHoriAlign(CHoriTxtAlign a)
{
    horiTxtAlign = a;
    drawStyleChanged();
}

void CParamDisplay::setTextInset(const CPoint& p)
{
    textInset = p;
    drawStyleChanged();
}

void CParamDisplay::setRoundRectRadius(const CCoord& r)
{
    roundRectRadius = r;
    drawStyleChanged();
}

void CParamDisplay::setFrameWidth(const CCoord& w)
{
    frameWidth = w;
    drawStyleChanged();
}

void CParamDisplay::setStyle(int32_t val)
{
    style = val;
    drawStyleChanged();
}

void CParamDisplay::setPrecision(uint8_t val)
{
    valuePrecision = val;
    drawStyleChanged();
}

void CParamDisplay::setValueToStringFunction(const ValueToStringFunction& func)
{
    if (!func)
    {
        valueToStringFunction = nullptr;
        return;
    }
    valueToStringFunction = [func](float value, std::string& result, CParamDisplay* display) {
        char text[256] = {0};
        if (!func(value, text, display))
            return false;
        text[255] = 0;
        result = text;
        return true;
    };
}

void CParamDisplay::drawStyleChanged() { setDirty(true); }

std::string CParamDisplay::getDisplayText() const
{
    std::string text;
    if (valueToStringFunction && valueToStringFunction(value, text, const_cast<CParamDisplay*>(this)))
        return text;
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%.*f", static_cast<int>(valuePrecision),
                  static_cast<double>(value));
    return buffer;
}

void CParamDisplay::draw(CDrawContext* context)
{
    if (style & kNoDrawStyle)
        return;
    drawBack(context);
    if (!(style & kNoTextStyle))
        drawPlatformText(context, getDisplayText());
    setDirty(false);
}

void CParamDisplay::drawBack(CDrawContext* context, CBitmap* newBack)
{
    context->setDrawMode(kAntiAliasing);
    const CCoord lineWidth = frameWidth > 0 ? frameWidth : 1.;
    CBitmap* back = newBack ? newBack : getBackground();
    const bool drawFrame = !(style & (k3DIn | k3DOut | kNoFrame));
    if (style & kRoundRectStyle)
    {
        CRect r(size);
        r.inset(lineWidth / 2., lineWidth / 2.);
        CGraphicsPath path;
        path.addRoundRect(r, roundRectRadius);
        if (back)
            back->draw(context, size, backgroundOffset);
        else if (!transparency)
        {
            context->setFillColor(backColor);
            context->drawGraphicsPath(&path, CDrawContext::kPathFilled);
        }
        if (drawFrame)
        {
            context->setLineWidth(lineWidth);
            context->setFrameColor(frameColor);
            context->drawGraphicsPath(&path, CDrawContext::kPathStroked);
        }
        return;
    }
    if (back)
        back->draw(context, size, backgroundOffset);
    else if (!transparency)
    {
        context->setFillColor(backColor);
        context->drawRect(size, kDrawFilled);
        if (drawFrame)
        {
            context->setLineWidth(lineWidth);
            context->setFrameColor(frameColor);
            context->drawRect(size, kDrawStroked);
        }
    }
    if (style & (k3DIn | k3DOut))
    {
        // Light and dark edges: shadow colour top left for an inset look, frame colour for raised.
        CRect r(size);
        r.inset(0.5, 0.5);
        context->setLineWidth(1);
        context->setFrameColor((style & k3DIn) ? shadowColor : frameColor);
        context->drawLine(r.getBottomLeft(), r.getTopLeft());
        context->drawLine(r.getTopLeft(), r.getTopRight());
        context->setFrameColor((style & k3DIn) ? frameColor : shadowColor);
        context->drawLine(r.getTopRight(), r.getBottomRight());
        context->drawLine(r.getBottomRight(), r.getBottomLeft());
    }
}

void CParamDisplay::drawPlatformText(CDrawContext* context, const std::string& text)
{
    drawPlatformText(context, text, size);
}

void CParamDisplay::drawPlatformText(CDrawContext* context, const std::string& text, const CRect& rect)
{
    if (text.empty() || (style & kNoTextStyle))
        return;
    CRect textRect(rect);
    textRect.inset(textInset.x, textInset.y);
    CRect oldClip;
    context->getClipRect(oldClip);
    CRect newClip(textRect);
    newClip.bound(oldClip);
    context->saveGlobalState();
    context->setClipRect(newClip);
    context->setDrawMode(antialias ? kAntiAliasing : kAliasing);
    context->setFont(fontID);
    if (style & kShadowText)
    {
        CRect shadowRect(textRect);
        shadowRect.offset(shadowTextOffset);
        context->setFontColor(shadowColor);
        context->drawString(text.c_str(), shadowRect, horiTxtAlign, antialias);
    }
    context->setFontColor(fontColor);
    context->drawString(text.c_str(), textRect, horiTxtAlign, antialias);
    context->restoreGlobalState();
}

} // namespace VSTGUI
