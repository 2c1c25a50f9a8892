#include "ctextlabel.h"

namespace VSTGUI {

CTextLabel::CTextLabel(const CRect& size, UTF8StringPtr txt, CBitmap* background, const int32_t style)
    : CParamDisplay(size, background, style)
{
    setText(txt ? txt : "");
}

CTextLabel::CTextLabel(const CTextLabel& label)
    : CParamDisplay(label)
    , text(label.text)
{}

void CTextLabel::setText(const std::string& txt)
{
    if (text == txt)
        return;
    text = txt;
    setDirty(true);
}

void CTextLabel::draw(CDrawContext* context)
{
    if (style & kNoDrawStyle)
        return;
    drawBack(context);
    drawPlatformText(context, text);
    setDirty(false);
}

} // namespace VSTGUI
