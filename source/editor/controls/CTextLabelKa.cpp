#include "CTextLabelKa.h"

#include "UnitsText.h"

namespace VSTGUI {

CTextLabelKa::CTextLabelKa(const CRect& size, UTF8StringPtr txt, CBitmap* background, int32_t style)
    : CTextLabel(size, txt, background, style)
{}

CTextLabelKa::~CTextLabelKa() = default;

void CTextLabelKa::setUnits(const std::string& units) { m_strUnits = trimUnits(units); }

void CTextLabelKa::setText(const std::string& txt)
{
    CTextLabel::setText(txt);
    if (!m_strUnits.empty())
        CTextLabel::setText(withUnits(getText(), m_strUnits));
}

} // namespace VSTGUI
