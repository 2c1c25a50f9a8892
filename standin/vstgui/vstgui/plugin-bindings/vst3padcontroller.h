// Binds the XY pad inside the view that carries it to two parameters: a pad edit writes both
// (y upward for the parameters is the pad's business), a parameter change moves the pad.
#pragma once

#include "../lib/controls/cxypad.h"
#include "../uidescription/delegationcontroller.h"

#include "base/source/fobject.h"

namespace Steinberg {
namespace Vst {
class EditController;
class Parameter;
} // namespace Vst
} // namespace Steinberg

namespace VSTGUI {

class PadController : public Steinberg::FObject, public DelegationController
{
public:
    PadController(IController* baseController, Steinberg::Vst::EditController* editController,
                  Steinberg::Vst::Parameter* xParam, Steinberg::Vst::Parameter* yParam);
    ~PadController() override;

    CView* verifyView(CView* view, const UIAttributes& attributes,
                      const IUIDescription* description) override;
    void valueChanged(CControl* pControl) override;
    void controlBeginEdit(CControl* pControl) override;
    void controlEndEdit(CControl* pControl) override;

    CXYPad* getPadControl() const { return padControl; }

    OBJ_METHODS(PadController, FObject)
protected:
    void PLUGIN_API update(Steinberg::FUnknown* changedUnknown, Steinberg::int32 message) override;

    Steinberg::Vst::EditController* editController;
    Steinberg::Vst::Parameter* xParam;
    Steinberg::Vst::Parameter* yParam;
    CXYPad* padControl{nullptr};
};

} // namespace VSTGUI
