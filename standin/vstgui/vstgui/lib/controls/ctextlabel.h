// A display that shows a fixed text instead of a value.
#pragma once

#include "cparamdisplay.h"

namespace VSTGUI {

class CTextLabel : public CParamDisplay
{
public:
    CTextLabel(const CRect& size, UTF8StringPtr txt = nullptr, CBitmap* background = nullptr,
               const int32_t style = 0);
    CTextLabel(const CTextLabel& label);

    virtual void setText(const std::string& txt);
    virtual const std::string& getText() const { return text; }

    void draw(CDrawContext* context) override;
    CView* newCopy() const override { return new CTextLabel(*this); }

protected:
    std::string text;
};

} // namespace VSTGUI
