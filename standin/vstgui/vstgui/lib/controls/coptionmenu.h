// A display that shows the current entry of a list and pops the list up on click. The value is
// the index of the current entry (min 0, max the entry count - 1). The popup shows every entry,
// follows the pointer, the arrow keys and the wheel, and selects on click or Enter; Escape or a
// click outside closes it unchanged. The wheel over the closed menu steps through the entries.
#pragma once

#include "cmenuitem.h"
#include "cparamdisplay.h"

#include <vector>

namespace VSTGUI {

class COptionMenu : public CParamDisplay
{
public:
    COptionMenu(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background = nullptr,
                CBitmap* bgWhenClick = nullptr, const int32_t style = 0);
    COptionMenu();
    COptionMenu(const COptionMenu& m);
    ~COptionMenu() override;

    CMenuItem* addEntry(CMenuItem* item, int32_t index = -1);
    CMenuItem* addEntry(const std::string& title, int32_t index = -1,
                        int32_t itemFlags = CMenuItem::kNoFlags);
    CMenuItem* addSeparator(int32_t index = -1);
    bool removeEntry(int32_t index);
    bool removeAllEntry();
    int32_t getNbEntries() const { return static_cast<int32_t>(entries.size()); }
    CMenuItem* getEntry(int32_t index) const;
    CMenuItem* getCurrent() const { return getEntry(getCurrentIndex()); }
    int32_t getCurrentIndex(bool countSeparator = false) const;
    bool setCurrent(int32_t index, bool countSeparator = true);
    // Index of the entry chosen in the last popup, -1 when closed without a choice.
    int32_t getLastResult() const { return lastResult; }

    // Opens the popup list below the menu.
    bool popup();
    bool isPopupOpen() const { return popupView != nullptr; }
    // The popup calls this when it closes; index -1 means no choice.
    void popupClosed(int32_t index);

    void setValue(float val) override;
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    bool removed(CView* parent) override;
    CView* newCopy() const override { return new COptionMenu(*this); }

protected:
    std::string getDisplayText() const override;
    void selectIndex(int32_t index);

    std::vector<SharedPointer<CMenuItem>> entries;
    CBitmap* bgWhenClick{nullptr};
    CView* popupView{nullptr};
    int32_t lastResult{-1};
};

} // namespace VSTGUI
