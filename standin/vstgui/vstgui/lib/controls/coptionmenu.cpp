#include "coptionmenu.h"

#include "../cbitmap.h"
#include "../cdrawcontext.h"
#include "../cframe.h"
#include "coptionmenupopup.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

COptionMenu::COptionMenu(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                         CBitmap* bgWhenClick, const int32_t style)
    : CParamDisplay(size, background, style)
    , bgWhenClick(bgWhenClick)
{
    this->listener = listener;
    this->tag = tag;
    setWantsFocus(true);
    setMin(0);
    setMax(0);
    if (bgWhenClick)
        bgWhenClick->remember();
}

COptionMenu::COptionMenu()
    : COptionMenu(CRect(), nullptr, -1)
{}

COptionMenu::COptionMenu(const COptionMenu& m)
    : CParamDisplay(m)
    , entries(m.entries)
    , bgWhenClick(m.bgWhenClick)
{
    if (bgWhenClick)
        bgWhenClick->remember();
}

COptionMenu::~COptionMenu()
{
    if (bgWhenClick)
        bgWhenClick->forget();
}

CMenuItem* COptionMenu::addEntry(CMenuItem* item, int32_t index)
{
    if (!item)
        return nullptr;
    auto owned_ = owned(item);
    if (index < 0 || index >= getNbEntries())
        entries.push_back(owned_);
    else
        entries.insert(entries.begin() + index, owned_);
    setMax(static_cast<float>(std::max(0, getNbEntries() - 1)));
    invalid();
    return item;
}

CMenuItem* COptionMenu::addEntry(const std::string& title, int32_t index, int32_t itemFlags)
{
    if (title == "-")
        return addSeparator(index);
    return addEntry(new CMenuItem(title, -1, itemFlags), index);
}

CMenuItem* COptionMenu::addSeparator(int32_t index)
{
    return addEntry(new CMenuItem("", -1, CMenuItem::kSeparator), index);
}

bool COptionMenu::removeEntry(int32_t index)
{
    if (index < 0 || index >= getNbEntries())
        return false;
    entries.erase(entries.begin() + index);
    setMax(static_cast<float>(std::max(0, getNbEntries() - 1)));
    invalid();
    return true;
}

bool COptionMenu::removeAllEntry()
{
    entries.clear();
    setMax(0);
    invalid();
    return true;
}

CMenuItem* COptionMenu::getEntry(int32_t index) const
{
    return (index >= 0 && index < getNbEntries()) ? entries[static_cast<size_t>(index)].get() : nullptr;
}

int32_t COptionMenu::getCurrentIndex(bool) const { return static_cast<int32_t>(std::lround(value - vmin)); }

bool COptionMenu::setCurrent(int32_t index, bool)
{
    if (index < 0 || index >= getNbEntries())
        return false;
    setValue(static_cast<float>(index) + vmin);
    return true;
}

void COptionMenu::setValue(float val)
{
    CParamDisplay::setValue(val);
    invalid();
}

std::string COptionMenu::getDisplayText() const
{
    CMenuItem* item = getCurrent();
    return item ? item->getTitle() : std::string();
}

void COptionMenu::draw(CDrawContext* context)
{
    if (style & kNoDrawStyle)
        return;
    drawBack(context, (popupView && bgWhenClick) ? bgWhenClick : nullptr);
    drawPlatformText(context, getDisplayText());
    setDirty(false);
}

bool COptionMenu::popup()
{
    CFrame* frame = getFrame();
    if (!frame || popupView || getNbEntries() == 0)
        return false;
    CCoord rowHeight = 0;
    CPoint listSize = COptionMenuPopup::measure(this, rowHeight);
    CPoint topLeft(size.left, size.bottom);
    localToFrame(topLeft);
    CRect r(topLeft, CPoint(std::max(listSize.x, getWidth()), listSize.y));
    // An offscreen frame has no room outside itself: keep the list inside it.
    if (!frame->isOpen())
    {
        if (r.bottom > frame->getHeight())
            r.offset(0, std::max(-r.top, frame->getHeight() - r.bottom));
        if (r.right > frame->getWidth())
            r.offset(std::max(-r.left, frame->getWidth() - r.right), 0);
    }
    lastResult = -1;
    auto* popupList = new COptionMenuPopup(this, r, rowHeight);
    popupView = popupList;
    frame->setModalView(popupList);
    popupList->forget();
    invalid();
    return true;
}

void COptionMenu::popupClosed(int32_t index)
{
    popupView = nullptr;
    invalid();
    if (index >= 0)
        selectIndex(index);
}

void COptionMenu::selectIndex(int32_t index)
{
    lastResult = index;
    beginEdit();
    setValue(static_cast<float>(index) + vmin);
    valueChanged();
    endEdit();
}

CMouseEventResult COptionMenu::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    popup();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

bool COptionMenu::onWheel(const CPoint&, const CMouseWheelAxis& axis, const float& distance,
                          const CButtonState&)
{
    if (axis != kMouseWheelAxisY || distance == 0 || getNbEntries() == 0)
        return false;
    // Wheel up goes to the entry above.
    int32_t index = getCurrentIndex() + (distance > 0 ? -1 : 1);
    while (index >= 0 && index < getNbEntries() && getEntry(index)->isSeparator())
        index += distance > 0 ? -1 : 1;
    if (index < 0 || index >= getNbEntries() || !getEntry(index)->isEnabled())
        return true;
    selectIndex(index);
    return true;
}

int32_t COptionMenu::onKeyDown(VstKeyCode& key)
{
    if (key.virt == VKEY_RETURN || key.virt == VKEY_SPACE || key.virt == VKEY_DOWN)
    {
        popup();
        return 1;
    }
    return -1;
}

bool COptionMenu::removed(CView* parent)
{
    // A menu leaving the tree closes its popup without a choice.
    if (popupView)
        if (auto popupList = dynamic_cast<COptionMenuPopup*>(popupView))
            popupList->finish(-1);
    return CParamDisplay::removed(parent);
}

} // namespace VSTGUI
