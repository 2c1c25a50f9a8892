// The open list of an option menu: one row per entry, the current one checked, the one under
// the pointer (or chosen with the arrow keys or the wheel) highlighted. Shown by the frame as its
// modal view; its rectangle is in frame coordinates.
#pragma once

#include "../cview.h"

#include <string>
#include <vector>

namespace VSTGUI {

class COptionMenuPopup : public CView
{
public:
    COptionMenuPopup(COptionMenu* menu, const CRect& size, CCoord rowHeight);
    ~COptionMenuPopup() override;

    int32_t getHighlight() const { return highlight; }
    // The row under a point (frame coordinates), -1 outside.
    int32_t rowAt(const CPoint& where) const;
    // Ends the popup: index -1 closes without a choice.
    void finish(int32_t index);

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    bool removed(CView* parent) override;

    // Row height and width needed for a menu's entries.
    static CPoint measure(COptionMenu* menu, CCoord& rowHeight);

private:
    void moveHighlight(int32_t step);
    COptionMenu* menu;
    CCoord rowHeight;
    int32_t highlight;
    bool finished{false};
};

} // namespace VSTGUI
