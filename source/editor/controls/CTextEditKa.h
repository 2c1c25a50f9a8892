// A text edit whose shown text carries a units suffix. Declared outside VSTGUI's namespace,
// as the framework always had it.
#pragma once

#include "vstgui/lib/controls/ctextedit.h"

#include <string>

class CTextEditKa : public VSTGUI::CTextEdit
{
public:
    CTextEditKa(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, int32_t tag,
                VSTGUI::UTF8StringPtr txt = nullptr, VSTGUI::CBitmap* background = nullptr,
                int32_t style = 0);
    ~CTextEditKa() override;

    void setUnits(const std::string& units);
    const std::string& getUnits() const { return m_strUnits; }

    void setText(const std::string& txt) override;
    // A copy carries the units too, so a copied edit shows what the original shows.
    VSTGUI::CView* newCopy() const override { return new CTextEditKa(*this); }

private:
    std::string m_strUnits;
};
