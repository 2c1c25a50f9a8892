#include "CTextEditKa.h"

#include "UnitsText.h"

CTextEditKa::CTextEditKa(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, int32_t tag,
                         VSTGUI::UTF8StringPtr txt, VSTGUI::CBitmap* background, int32_t style)
    : VSTGUI::CTextEdit(size, listener, tag, txt, background, style)
{}

CTextEditKa::~CTextEditKa() = default;

void CTextEditKa::setUnits(const std::string& units) { m_strUnits = VSTGUI::trimUnits(units); }

void CTextEditKa::setText(const std::string& txt)
{
    VSTGUI::CTextEdit::setText(txt);
    if (!m_strUnits.empty())
        VSTGUI::CTextEdit::setText(VSTGUI::withUnits(getText(), m_strUnits));
}
