// LED and needle meters with level ballistics. The LED meter lights a share of its on image;
// the needle meter picks one frame of a vertical filmstrip. Both advance their detector once
// per repaint, which the editor does 20 times a second.
#pragma once

#include "CMeterDetector.h"

#include "vstgui/lib/controls/cvumeter.h"

namespace VSTGUI {

class CVuMeterKa : public CVuMeter
{
public:
    CVuMeterKa(const CRect& size, CBitmap* onBitmap, CBitmap* offBitmap, int32_t nbLed, bool inverted,
               bool analog, int32_t style = kVertical);
    ~CVuMeterKa() override;

    void setZeroFrame(double frame) { m_dZeroFrame = frame; }
    void setFrameHeight(double height) { m_dFrameHeight = height; }
    void setFrameCount(double count) { m_dFrameCount = count; }
    double getZeroFrame() const { return m_dZeroFrame; }
    double getFrameHeight() const { return m_dFrameHeight; }
    double getFrameCount() const { return m_dFrameCount; }
    bool isInverted() const { return m_bInverted; }
    bool isAnalog() const { return m_bAnalog; }

    void initDetector(float rate, float attackMs, float releaseMs, bool analog, int32_t mode, bool decibels);
    const CMeterDetector& getDetector() const { return m_Detector; }

    void draw(CDrawContext* context) override;
    CView* newCopy() const override { return new CVuMeterKa(*this); }

    // Filmstrip offset of a needle meter for a detector output e (0 to 1).
    double needleOffset(float e) const;

private:
    float advance();
    void drawNeedle(CDrawContext* context);
    void drawLeds(CDrawContext* context);

    bool m_bInverted;
    bool m_bAnalog;
    double m_dZeroFrame = 52.0;
    double m_dFrameHeight = 65.0;
    double m_dFrameCount = 80.0;
    CMeterDetector m_Detector;
};

} // namespace VSTGUI
