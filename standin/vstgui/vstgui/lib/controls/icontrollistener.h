// The listener a control tells of its value changes and of the start and end of each gesture.
#pragma once

#include "../vstguifwd.h"

namespace VSTGUI {

// Receives the edits of controls: the value change and the begin and end of a gesture.
class IControlListener
{
public:
    virtual ~IControlListener() = default;
    virtual void valueChanged(CControl* control) = 0;
    virtual void controlBeginEdit(CControl* control) {}
    virtual void controlEndEdit(CControl* control) {}
    virtual void controlTagWillChange(CControl* control) {}
    virtual void controlTagDidChange(CControl* control) {}
};

} // namespace VSTGUI
