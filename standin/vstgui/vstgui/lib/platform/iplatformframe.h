// What a frame needs from its window system: repaint scheduling, size, scale and popups.
#pragma once

#include "../crect.h"

#include <cstdint>

namespace VSTGUI {

class IPlatformFrame
{
public:
    virtual ~IPlatformFrame() = default;
    // A part of the frame (frame coordinates, points) needs painting.
    virtual void invalidRect(const CRect& rect) = 0;
    // The frame's size in points or its scale changed.
    virtual void setSize(const CRect& size, double scaleFactor) = 0;
    // Paints what is invalid now instead of at the next idle.
    virtual void flush() = 0;
    // Shows the popup view in a window of its own at rect (frame coordinates); false when the
    // platform cannot, in which case the frame draws the popup itself.
    virtual bool showPopup(CView* popup, const CRect& rect) = 0;
    virtual void hidePopup() = 0;
    // Moves the keyboard focus to the frame's window.
    virtual void takeKeyboardFocus() = 0;
    // The frame's own window (an X11 window id), 0 when it has none.
    virtual uintptr_t nativeWindow() const { return 0; }
};

} // namespace VSTGUI
