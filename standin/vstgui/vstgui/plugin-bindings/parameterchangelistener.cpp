#include "parameterchangelistener.h"

#include "../lib/controls/coptionmenu.h"
#include "../lib/controls/ctextedit.h"

#include "base/source/fstring.h"
#include "public.sdk/source/vst/vsteditcontroller.h"
#include "public.sdk/source/vst/vstparameters.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

namespace {
std::string toUTF8(const Steinberg::Vst::String128 text)
{
    Steinberg::String s(text);
    s.toMultiByte(Steinberg::kCP_Utf8);
    return s.text8() ? std::string(s.text8()) : std::string();
}
} // namespace

ParameterChangeListener::ParameterChangeListener(Steinberg::Vst::EditController* editController,
                                                 Steinberg::Vst::Parameter* parameter, CControl* control)
    : editController(editController)
    , parameter(parameter)
    , uiThread(std::this_thread::get_id())
{
    if (parameter)
    {
        parameter->addRef();
        parameter->addDependent(this);
    }
    if (control)
        addControl(control);
}

ParameterChangeListener::~ParameterChangeListener()
{
    if (parameter)
    {
        parameter->removeDependent(this);
        parameter->release();
    }
    for (CControl* c : controls)
        c->forget();
}

Steinberg::Vst::ParamID ParameterChangeListener::getParameterID() const
{
    if (parameter)
        return parameter->getInfo().id;
    if (!controls.empty())
        return static_cast<Steinberg::Vst::ParamID>(controls.front()->getTag());
    return 0xFFFFFFFF;
}

void ParameterChangeListener::addControl(CControl* control)
{
    if (!control || containsControl(control))
        return;
    control->remember();
    controls.push_back(control);
    setupControl(control);
    if (parameter)
        updateControlValue(editController->getParamNormalized(getParameterID()));
    else
        updateControlValue(controls.front()->getValueNormalized());
}

void ParameterChangeListener::removeControl(CControl* control)
{
    auto it = std::find(controls.begin(), controls.end(), control);
    if (it == controls.end())
        return;
    controls.erase(it);
    if (auto display = dynamic_cast<CParamDisplay*>(control))
        display->setValueToStringFunction2(nullptr);
    control->forget();
}

bool ParameterChangeListener::containsControl(CControl* control) const
{
    return std::find(controls.begin(), controls.end(), control) != controls.end();
}

void ParameterChangeListener::setupControl(CControl* control)
{
    // Displays show the parameter's own text for a value.
    auto display = dynamic_cast<CParamDisplay*>(control);
    if (!display || !parameter || dynamic_cast<COptionMenu*>(control))
        return;
    display->setValueToStringFunction2([this](float value, std::string& result, CParamDisplay*) {
        Steinberg::Vst::ParamValue normalized = value;
        if (parameter->getInfo().stepCount > 0)
            normalized = parameter->toNormalized(value);
        Steinberg::Vst::String128 text{};
        if (editController->getParamStringByValue(getParameterID(), normalized, text)
            != Steinberg::kResultTrue)
            return false;
        result = toUTF8(text);
        return true;
    });
}

Steinberg::Vst::ParamValue ParameterChangeListener::controlToNormalized(CControl* control) const
{
    return control->getValueNormalized();
}

void ParameterChangeListener::beginEdit()
{
    if (editCount++ == 0 && parameter)
        editController->beginEdit(getParameterID());
}

void ParameterChangeListener::endEdit()
{
    if (editCount == 0)
        return;
    if (--editCount == 0 && parameter)
        editController->endEdit(getParameterID());
}

void ParameterChangeListener::performEdit(Steinberg::Vst::ParamValue value)
{
    if (!parameter)
    {
        // Controls sharing a tag without a parameter still follow each other.
        updateControlValue(value);
        return;
    }
    // An edit outside a gesture (a typed value) gets a gesture of its own, so hosts record it.
    const bool ownGesture = editCount == 0;
    if (ownGesture)
        beginEdit();
    editController->setParamNormalized(getParameterID(), value);
    editController->performEdit(getParameterID(), value);
    if (ownGesture)
        endEdit();
}

void ParameterChangeListener::updateControls()
{
    if (parameter)
        updateControlValue(editController->getParamNormalized(getParameterID()));
}

void ParameterChangeListener::idle()
{
    if (pendingUpdate.exchange(false))
        updateControls();
}

void PLUGIN_API ParameterChangeListener::update(Steinberg::FUnknown*, Steinberg::int32 message)
{
    if (message != IDependent::kChanged || !parameter)
        return;
    if (std::this_thread::get_id() != uiThread)
    {
        pendingUpdate = true;
        return;
    }
    updateControls();
}

void ParameterChangeListener::updateControlValue(Steinberg::Vst::ParamValue value)
{
    bool mouseEnabled = true;
    bool stepped = false;
    Steinberg::Vst::ParamValue defaultValue = 0.5;
    float minValue = 0.f, maxValue = 1.f;
    Steinberg::int32 stepCount = 0;
    if (parameter)
    {
        const auto& info = parameter->getInfo();
        defaultValue = info.defaultNormalizedValue;
        mouseEnabled = !(info.flags & Steinberg::Vst::ParameterInfo::kIsReadOnly);
        stepCount = info.stepCount;
        if (stepCount > 0)
        {
            // Stepped parameters move their controls in plain steps (an option menu's index).
            stepped = true;
            value = parameter->toPlain(value);
            defaultValue = parameter->toPlain(defaultValue);
            minValue = static_cast<float>(parameter->toPlain(0.));
            maxValue = static_cast<float>(parameter->toPlain(1.));
        }
    }
    for (CControl* c : controls)
    {
        c->setMouseEnabled(mouseEnabled);
        if (parameter)
        {
            c->setDefaultValue(static_cast<float>(defaultValue));
            c->setMin(minValue);
            c->setMax(maxValue);
        }
        if (auto label = dynamic_cast<CTextLabel*>(c))
        {
            if (auto edit = dynamic_cast<CTextEdit*>(c); edit && edit->isEditingText())
                continue;
            if (parameter)
            {
                Steinberg::Vst::String128 text{};
                const Steinberg::Vst::ParamValue normalized =
                    stepped ? parameter->toNormalized(value) : value;
                if (editController->getParamStringByValue(getParameterID(), normalized, text)
                    == Steinberg::kResultTrue)
                    label->setText(toUTF8(text));
            }
        }
        else if (auto menu = dynamic_cast<COptionMenu*>(c); menu && stepped)
        {
            if (menu->getNbEntries() != stepCount + 1)
            {
                menu->removeAllEntry();
                for (Steinberg::int32 i = 0; i <= stepCount; ++i)
                {
                    Steinberg::Vst::String128 text{};
                    editController->getParamStringByValue(getParameterID(),
                                                          static_cast<double>(i) / stepCount, text);
                    menu->addEntry(toUTF8(text));
                }
            }
            // addEntry sets the menu's range to its entries; the parameter's plain range wins.
            c->setMin(minValue);
            c->setMax(maxValue);
            c->setValue(static_cast<float>(value));
        }
        else if (stepped)
            c->setValue(static_cast<float>(value));
        else
            c->setValueNormalized(static_cast<float>(value));
        c->invalid();
    }
}

} // namespace VSTGUI
