// What a frame asks of the editor that owns it.
#pragma once

#include "crect.h"
#include "vstguifwd.h"

namespace VSTGUI {

class VSTGUIEditorInterface
{
public:
    virtual ~VSTGUIEditorInterface() = default;

    virtual void doIdleStuff() {}
    // How knobs follow the mouse (CKnobMode).
    virtual int32_t getKnobMode() const { return kCircularMode; }
    // Edit gestures of the parameter with that index.
    virtual void beginEdit(int32_t index) {}
    virtual void endEdit(int32_t index) {}
    // Asked before the frame changes its size; false keeps the old size.
    virtual bool beforeSizeChange(const CRect& newSize, const CRect& oldSize) { return true; }
    virtual CFrame* getFrame() const { return frame; }

protected:
    VSTGUIEditorInterface() = default;
    CFrame* frame{nullptr};
};

} // namespace VSTGUI
