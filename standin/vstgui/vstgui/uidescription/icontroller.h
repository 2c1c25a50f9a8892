// A controller the description asks while it builds views: for custom views, for the check of
// each built view, for sub-controllers and for the tags and listeners of control-tag names.
#pragma once

#include "../lib/controls/icontrollistener.h"
#include "../lib/vstguifwd.h"

namespace VSTGUI {

class IController : public IControlListener
{
public:
    void valueChanged(CControl* pControl) override {}
    virtual int32_t getTagForName(UTF8StringPtr name, int32_t registeredTag) const { return registeredTag; }
    virtual IControlListener* getControlListener(UTF8StringPtr controlTagName) { return this; }
    virtual CView* createView(const UIAttributes& attributes, const IUIDescription* description)
    {
        return nullptr;
    }
    virtual CView* verifyView(CView* view, const UIAttributes& attributes, const IUIDescription* description)
    {
        return view;
    }
    virtual IController* createSubController(UTF8StringPtr name, const IUIDescription* description)
    {
        return nullptr;
    }
};

} // namespace VSTGUI
