#include "vst3padcontroller.h"

#include "public.sdk/source/vst/vsteditcontroller.h"
#include "public.sdk/source/vst/vstparameters.h"

namespace VSTGUI {

PadController::PadController(IController* baseController, Steinberg::Vst::EditController* editController,
                             Steinberg::Vst::Parameter* xParam, Steinberg::Vst::Parameter* yParam)
    : DelegationController(baseController)
    , editController(editController)
    , xParam(xParam)
    , yParam(yParam)
{
    for (Steinberg::Vst::Parameter* p : {xParam, yParam})
        if (p)
        {
            p->addRef();
            p->addDependent(this);
        }
}

PadController::~PadController()
{
    for (Steinberg::Vst::Parameter* p : {xParam, yParam})
        if (p)
        {
            p->removeDependent(this);
            p->release();
        }
}

CView* PadController::verifyView(CView* view, const UIAttributes& attributes,
                                 const IUIDescription* description)
{
    if (auto pad = dynamic_cast<CXYPad*>(view))
    {
        padControl = pad;
        padControl->setListener(this);
        update(nullptr, kChanged);
    }
    return controller->verifyView(view, attributes, description);
}

void PadController::valueChanged(CControl* control)
{
    if (control != padControl)
    {
        controller->valueChanged(control);
        return;
    }
    float x, y;
    CXYPad::calculateXY(control->getValue(), x, y);
    if (xParam)
    {
        editController->setParamNormalized(xParam->getInfo().id, x);
        editController->performEdit(xParam->getInfo().id, x);
    }
    if (yParam)
    {
        editController->setParamNormalized(yParam->getInfo().id, y);
        editController->performEdit(yParam->getInfo().id, y);
    }
}

void PadController::controlBeginEdit(CControl* control)
{
    if (control != padControl)
    {
        controller->controlBeginEdit(control);
        return;
    }
    if (xParam)
        editController->beginEdit(xParam->getInfo().id);
    if (yParam)
        editController->beginEdit(yParam->getInfo().id);
}

void PadController::controlEndEdit(CControl* control)
{
    if (control != padControl)
    {
        controller->controlEndEdit(control);
        return;
    }
    if (xParam)
        editController->endEdit(xParam->getInfo().id);
    if (yParam)
        editController->endEdit(yParam->getInfo().id);
}

void PLUGIN_API PadController::update(Steinberg::FUnknown*, Steinberg::int32 message)
{
    if (message != kChanged || !padControl)
        return;
    const float x = xParam ? static_cast<float>(xParam->getNormalized()) : 0.f;
    const float y = yParam ? static_cast<float>(yParam->getNormalized()) : 0.f;
    padControl->setValue(CXYPad::calculateValue(x, y));
    padControl->invalid();
}

} // namespace VSTGUI
