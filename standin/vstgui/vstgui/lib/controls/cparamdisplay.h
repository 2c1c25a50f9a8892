// Shows a value (or a text) with font, colours, frame, shadow and round-rect styles.
#pragma once

#include "../ccolor.h"
#include "../cfont.h"
#include "ccontrol.h"

#include <functional>
#include <string>

namespace VSTGUI {

class CParamDisplay : public CControl
{
public:
    using ValueToStringFunction =
        std::function<bool(float value, char utf8String[256], CParamDisplay* display)>;
    using ValueToStringFunction2 =
        std::function<bool(float value, std::string& result, CParamDisplay* display)>;

    CParamDisplay(const CRect& size, CBitmap* background = nullptr, int32_t style = 0);
    CParamDisplay(const CParamDisplay& p);
    ~CParamDisplay() override;

    virtual void setFont(CFontRef fontID);
    CFontRef getFont() const { return fontID; }
    virtual void setFontColor(const CColor& color);
    const CColor& getFontColor() const { return fontColor; }
    virtual void setBackColor(const CColor& color);
    const CColor& getBackColor() const { return backColor; }
    virtual void setFrameColor(const CColor& color);
    const CColor& getFrameColor() const { return frameColor; }
    virtual void setShadowColor(const CColor& color);
    const CColor& getShadowColor() const { return shadowColor; }
    virtual void setShadowTextOffset(const CPoint& offset) { shadowTextOffset = offset; }
    const CPoint& getShadowTextOffset() const { return shadowTextOffset; }
    virtual void setAntialias(bool state) { antialias = state; }
    bool getAntialias() const { return antialias; }
    virtual void setHoriAlign(CHoriTxtAlign align);
    CHoriTxtAlign getHoriAlign() const { return horiTxtAlign; }
    virtual void setTextInset(const CPoint& p);
    const CPoint& getTextInset() const { return textInset; }
    virtual void setBackgroundOffset(const CPoint& offset) { backgroundOffset = offset; }
    const CPoint& getBackgroundOffset() const { return backgroundOffset; }
    virtual void setRoundRectRadius(const CCoord& radius);
    CCoord getRoundRectRadius() const { return roundRectRadius; }
    virtual void setFrameWidth(const CCoord& width);
    CCoord getFrameWidth() const { return frameWidth; }
    virtual void setStyle(int32_t val);
    int32_t getStyle() const { return style; }
    virtual void setPrecision(uint8_t val);
    uint8_t getPrecision() const { return valuePrecision; }

    void setValueToStringFunction(const ValueToStringFunction& func);
    void setValueToStringFunction2(const ValueToStringFunction2& func) { valueToStringFunction = func; }

    void draw(CDrawContext* context) override;
    CView* newCopy() const override { return new CParamDisplay(*this); }

protected:
    // The text shown for the current value: the value-to-string function's, or the value with
    // the display's precision.
    virtual std::string getDisplayText() const;
    void drawBack(CDrawContext* context, CBitmap* newBack = nullptr);
    virtual void drawPlatformText(CDrawContext* context, const std::string& text);
    virtual void drawPlatformText(CDrawContext* context, const std::string& text, const CRect& rect);
    void drawStyleChanged();

    ValueToStringFunction2 valueToStringFunction;
    CHoriTxtAlign horiTxtAlign{kCenterText};
    int32_t style;
    uint8_t valuePrecision{2};
    SharedPointer<CFontDesc> fontID;
    CColor fontColor{kWhiteCColor};
    CColor backColor{kBlackCColor};
    CColor frameColor{kBlackCColor};
    CColor shadowColor{kRedCColor};
    CPoint textInset;
    CPoint shadowTextOffset{1., 1.};
    CPoint backgroundOffset;
    CCoord roundRectRadius{6.};
    CCoord frameWidth{1.};
    bool antialias{true};
};

} // namespace VSTGUI
