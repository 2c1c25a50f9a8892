#include "CVuMeterKa.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace VSTGUI {

CVuMeterKa::CVuMeterKa(const CRect& size, CBitmap* onBitmap, CBitmap* offBitmap, int32_t nbLed, bool inverted,
                       bool analog, int32_t style)
    : CVuMeter(size, onBitmap, offBitmap, nbLed, style)
    , m_bInverted(inverted)
    , m_bAnalog(analog)
{}

CVuMeterKa::~CVuMeterKa() = default;

void CVuMeterKa::initDetector(float rate, float attackMs, float releaseMs, bool analog, int32_t mode,
                              bool decibels)
{
    m_Detector.init(rate, attackMs, releaseMs, analog, mode, decibels);
}

float CVuMeterKa::advance()
{
    // The stock meter's fall-off per repaint, then the detector's ballistics on top.
    bounceValue();
    const float level = std::max(value, getOldValue() - decreaseValue);
    setOldValue(level);
    return m_Detector.detect(level);
}

double CVuMeterKa::needleOffset(float e) const
{
    if (!(value >= 0.0f) || !(m_dFrameHeight > 0.0) || !(m_dFrameCount >= 1.0))
        return 0.0;
    double p = e;
    if (m_bInverted)
        p = (m_dZeroFrame / m_dFrameCount) * (1.0 - static_cast<double>(e));
    const double y = std::floor(p * (m_dFrameCount - 1.0) * m_dFrameHeight);
    if (!std::isfinite(y) || y < 0.0)
        return 0.0;
    const auto whole = static_cast<int64_t>(y);
    const auto frame = static_cast<int64_t>(m_dFrameHeight);
    return frame > 0 ? static_cast<double>(whole - whole % frame) : 0.0;
}

void CVuMeterKa::drawNeedle(CDrawContext* context)
{
    const float e = advance();
    CBitmap* image = getOnBitmap();
    // The stock look of a disabled view: the off image.
    if (getOffBitmap() && !getMouseEnabled())
        image = getOffBitmap();
    image->draw(context, size, CPoint(0, needleOffset(e)), 1.0f);
}

namespace {

// Pixels lit for a level a on an image of L pixels with n LEDs: whole LEDs only.
CCoord ledPixels(float a, CCoord length, int32_t n)
{
    const double leds = std::trunc(static_cast<double>(a) * n + 0.5);
    const double t = std::trunc(length * leds / n + 0.5);
    return t < 1.0 ? 0.0 : t;
}

} // namespace

void CVuMeterKa::drawLeds(CDrawContext* context)
{
    CBitmap* on = getOnBitmap();
    float level;
    // Two LEDs make an on/off lamp: no ballistics.
    if (nbLed == 2)
        level = value >= 0.5f ? 1.0f : 0.0f;
    else
        level = advance();

    const int32_t n = std::max(nbLed, 1);
    CRect r1(rectOn), r2(rectOff);
    CPoint pOn, pOff;
    const bool horizontal = (style & kHorizontal) != 0;
    if (horizontal && !m_bInverted)
    {
        const CCoord t = ledPixels(vmin + level, on->getWidth(), n);
        r1.right = r1.left + t;
        r2.left += t;
        pOff = CPoint(t, 0);
    }
    else if (horizontal)
    {
        const CCoord t = ledPixels(vmax - level, on->getWidth(), n);
        r1.left += t;
        pOn = CPoint(t, 0);
        r2.right = r2.left + t;
    }
    else if (!m_bInverted)
    {
        const CCoord t = ledPixels(vmax - level, on->getHeight(), n);
        r2.bottom = r2.top + t;
        r1.top += t;
        pOn = CPoint(0, t);
    }
    else
    {
        const CCoord t = ledPixels(level, on->getHeight(), n);
        r1.bottom = r1.top + t;
        r2.top += t;
        pOff = CPoint(0, t);
    }
    if (getOffBitmap())
        getOffBitmap()->draw(context, r2, pOff, 1.0f);
    on->draw(context, r1, pOn, 1.0f);
}

void CVuMeterKa::draw(CDrawContext* context)
{
    if (getOnBitmap())
    {
        if (m_bAnalog)
            drawNeedle(context);
        else
            drawLeds(context);
    }
    setDirty(false);
}

} // namespace VSTGUI
