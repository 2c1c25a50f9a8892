// A controller that hands everything to its parent controller; sub-controllers derive from it
// and override what they handle.
#pragma once

#include "icontroller.h"

namespace VSTGUI {

class DelegationController : public IController
{
public:
    explicit DelegationController(IController* controller)
        : controller(controller)
    {}

    void valueChanged(CControl* pControl) override { controller->valueChanged(pControl); }
    void controlBeginEdit(CControl* pControl) override { controller->controlBeginEdit(pControl); }
    void controlEndEdit(CControl* pControl) override { controller->controlEndEdit(pControl); }
    void controlTagWillChange(CControl* pControl) override { controller->controlTagWillChange(pControl); }
    void controlTagDidChange(CControl* pControl) override { controller->controlTagDidChange(pControl); }
    int32_t getTagForName(UTF8StringPtr name, int32_t registeredTag) const override
    {
        return controller->getTagForName(name, registeredTag);
    }
    IControlListener* getControlListener(UTF8StringPtr name) override { return this; }
    CView* createView(const UIAttributes& attributes, const IUIDescription* description) override
    {
        return controller->createView(attributes, description);
    }
    CView* verifyView(CView* view, const UIAttributes& attributes, const IUIDescription* description) override
    {
        return controller->verifyView(view, attributes, description);
    }
    IController* createSubController(UTF8StringPtr name, const IUIDescription* description) override
    {
        return controller->createSubController(name, description);
    }

    IController* getBaseController() const { return controller; }

protected:
    IController* controller;
};

} // namespace VSTGUI
