// A text label whose shown text carries a units suffix ("12.00 dB").
#pragma once

#include "vstgui/lib/controls/ctextlabel.h"

#include <string>

namespace VSTGUI {

class CTextLabelKa : public CTextLabel
{
public:
    CTextLabelKa(const CRect& size, UTF8StringPtr txt = nullptr, CBitmap* background = nullptr,
                 int32_t style = 0);
    ~CTextLabelKa() override;

    void setUnits(const std::string& units);
    const std::string& getUnits() const { return m_strUnits; }

    void setText(const std::string& txt) override;
    CView* newCopy() const override { return new CTextLabelKa(*this); }

private:
    std::string m_strUnits;
};

} // namespace VSTGUI
