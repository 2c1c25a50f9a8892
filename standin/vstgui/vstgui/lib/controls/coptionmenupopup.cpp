#include "coptionmenupopup.h"

#include "../cdrawcontext.h"
#include "../cframe.h"
#include "../platform/cairo/textlayout.h"
#include "coptionmenu.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

namespace {
constexpr CCoord kTextIndent = 18;
constexpr CCoord kRightMargin = 10;
const CColor kPopupBack{245, 245, 245, 255};
const CColor kPopupFrame{90, 90, 90, 255};
const CColor kPopupHighlight{60, 110, 200, 255};
} // namespace

CPoint COptionMenuPopup::measure(COptionMenu* menu, CCoord& rowHeight)
{
    const CFontDesc& font = *menu->getFont();
    rowHeight = std::ceil(font.getSize() * 1.6);
    CCoord width = 0;
    for (int32_t i = 0; i < menu->getNbEntries(); ++i)
        width = std::max(width, TextLayout::measure(font, menu->getEntry(i)->getTitle()).x);
    return CPoint(std::ceil(width + kTextIndent + kRightMargin), rowHeight * menu->getNbEntries() + 2);
}

COptionMenuPopup::COptionMenuPopup(COptionMenu* menu, const CRect& size, CCoord rowHeight)
    : CView(size)
    , menu(menu)
    , rowHeight(rowHeight)
    , highlight(menu->getCurrentIndex())
{
    menu->remember();
}

COptionMenuPopup::~COptionMenuPopup() { menu->forget(); }

int32_t COptionMenuPopup::rowAt(const CPoint& where) const
{
    if (!size.pointInside(where))
        return -1;
    const int32_t row = static_cast<int32_t>((where.y - size.top - 1) / rowHeight);
    return (row >= 0 && row < menu->getNbEntries()) ? row : -1;
}

void COptionMenuPopup::finish(int32_t index)
{
    if (finished)
        return;
    finished = true;
    // Keep both alive while the frame drops the popup and the menu reports the choice.
    remember();
    COptionMenu* m = menu;
    m->remember();
    if (CFrame* frame = getFrame())
        frame->setModalView(nullptr);
    m->popupClosed(index);
    m->forget();
    forget();
}

bool COptionMenuPopup::removed(CView* parent)
{
    // Closed by the frame (or the frame closing): the menu hears of it without a choice.
    if (!finished)
    {
        finished = true;
        menu->popupClosed(-1);
    }
    return CView::removed(parent);
}

void COptionMenuPopup::draw(CDrawContext* context)
{
    context->setDrawMode(kAliasing);
    context->setLineWidth(1);
    context->setFillColor(kPopupBack);
    context->setFrameColor(kPopupFrame);
    context->drawRect(size, kDrawFilledAndStroked);
    context->setFont(menu->getFont());
    const int32_t current = menu->getCurrentIndex();
    for (int32_t i = 0; i < menu->getNbEntries(); ++i)
    {
        CMenuItem* item = menu->getEntry(i);
        CRect row(size.left + 1, size.top + 1 + i * rowHeight, size.right - 1,
                  size.top + 1 + (i + 1) * rowHeight);
        if (item->isSeparator())
        {
            context->setFrameColor(kPopupFrame);
            context->drawLine(CPoint(row.left + 4, row.getCenter().y),
                              CPoint(row.right - 4, row.getCenter().y));
            continue;
        }
        const bool lit = i == highlight && item->isEnabled();
        if (lit)
        {
            context->setFillColor(kPopupHighlight);
            context->drawRect(row, kDrawFilled);
        }
        const CColor textColor = !item->isEnabled() ? kGreyCColor : (lit ? kWhiteCColor : kBlackCColor);
        context->setFontColor(textColor);
        if (i == current)
        {
            // A check mark before the current entry.
            context->setDrawMode(kAntiAliasing);
            context->setFrameColor(textColor);
            context->setLineWidth(1.5);
            const CPoint c = row.getCenter();
            context->drawLine(CPoint(row.left + 5, c.y), CPoint(row.left + 8, c.y + 3));
            context->drawLine(CPoint(row.left + 8, c.y + 3), CPoint(row.left + 13, c.y - 4));
            context->setLineWidth(1);
            context->setDrawMode(kAliasing);
        }
        CRect textRect(row);
        textRect.left += kTextIndent;
        context->drawString(item->getTitle().c_str(), textRect, kLeftText);
    }
    setDirty(false);
}

CMouseEventResult COptionMenuPopup::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!size.pointInside(where))
    {
        finish(-1);
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    return kMouseEventHandled;
}

CMouseEventResult COptionMenuPopup::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    const int32_t row = rowAt(where);
    if (row >= 0 && menu->getEntry(row)->isEnabled() && !menu->getEntry(row)->isSeparator())
        finish(row);
    return kMouseEventHandled;
}

CMouseEventResult COptionMenuPopup::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    const int32_t row = rowAt(where);
    if (row >= 0 && row != highlight)
    {
        highlight = row;
        invalid();
    }
    return kMouseEventHandled;
}

void COptionMenuPopup::moveHighlight(int32_t step)
{
    const int32_t n = menu->getNbEntries();
    if (n == 0)
        return;
    int32_t h = highlight;
    for (int32_t tries = 0; tries < n; ++tries)
    {
        h = std::clamp(h + step, 0, n - 1);
        CMenuItem* item = menu->getEntry(h);
        if (item->isEnabled() && !item->isSeparator())
            break;
    }
    if (h != highlight)
    {
        highlight = h;
        invalid();
    }
}

bool COptionMenuPopup::onWheel(const CPoint&, const CMouseWheelAxis& axis, const float& distance,
                               const CButtonState&)
{
    if (axis != kMouseWheelAxisY || distance == 0)
        return false;
    moveHighlight(distance > 0 ? -1 : 1);
    return true;
}

int32_t COptionMenuPopup::onKeyDown(VstKeyCode& key)
{
    switch (key.virt)
    {
    case VKEY_UP: moveHighlight(-1); return 1;
    case VKEY_DOWN: moveHighlight(1); return 1;
    case VKEY_HOME: moveHighlight(-menu->getNbEntries()); return 1;
    case VKEY_END: moveHighlight(menu->getNbEntries()); return 1;
    case VKEY_RETURN:
    case VKEY_ENTER:
    case VKEY_SPACE: finish(highlight); return 1;
    case VKEY_ESCAPE: finish(-1); return 1;
    default: return -1;
    }
}

} // namespace VSTGUI
