#include "VST3EditorKa.h"

#include "adapter/processor/TextConversion.h"

#include "vstgui/lib/controls/ctextedit.h"
#include "vstgui/lib/cvstguitimer.h"
#include "vstgui/plugin-bindings/parameterchangelistener.h"

#include <cstring>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

using namespace VSTGUI;

int32_t answerKnobMode(int32 setting, int32 hostKnobMode)
{
    switch (setting)
    {
    case kEditorKnobCircular: return kCircularMode;
    case kEditorKnobRelativeCircular: return kRelativCircularMode;
    case kEditorKnobLinear: return kLinearMode;
    case kEditorKnobFollowHost:
        if (hostKnobMode == Steinberg::Vst::kCircularMode)
            return kCircularMode;
        if (hostKnobMode == Steinberg::Vst::kRelativCircularMode)
            return kRelativCircularMode;
        return kLinearMode;
    default: return kLinearMode;
    }
}

VST3EditorKa::VST3EditorKa(EditController* controller, UTF8StringPtr templateName, UTF8StringPtr xmlFile)
    : VST3Editor(controller, templateName, xmlFile)
{
    // The timer runs while the view is attached; its ticks reach notify.
    setIdleRate(kIdleRateMs);
}

VST3EditorKa::~VST3EditorKa() { m_ControlList.clearControls(); }

void VST3EditorKa::setPlugIn(CPlugIn* plugIn)
{
    m_pPlugIn = plugIn;
    if (!plugIn)
        return;
    const uint32_t count = plugIn->m_ControlList.controlCount();
    for (uint32_t i = 0; i < count; ++i)
        if (const CControlEntry* record = plugIn->m_ControlList.controlAt(i))
            m_ControlList.appendControl(*record);
}

int32_t VST3EditorKa::getKnobMode() const
{
    return answerKnobMode(m_nKnobMode, EditController::getHostKnobMode());
}

bool VST3EditorKa::beforeSizeChange(const CRect&, const CRect&) { return true; }

CMessageResult VST3EditorKa::notify(CBaseObject* sender, IdStringPtr message)
{
    EditController* editController = getController();
    if (message && std::strcmp(message, CVSTGUITimer::kMsgTimer) == 0 && editController)
    {
        editController->receiveText("VSTGUITimerPing");
        // Meters and anything the DSP object changed are redrawn on every tick.
        if (frame)
            frame->invalid();
    }
    const bool recreating = isRecreateViewPending();
    const CMessageResult result = VST3Editor::notify(sender, message);
    if (recreating && editController)
        editController->receiveText("RecreateView");
    return result;
}

bool VST3EditorKa::acceptTypedText(CControl* control, ParameterChangeListener* listener, float& value)
{
    auto* textEdit = dynamic_cast<CTextEdit*>(control);
    if (!textEdit || !listener->getParameter())
        return true;
    String128 text = {};
    copyUtf8ToString128(textEdit->getText().c_str(), text);
    ParamValue parsed = value;
    if (getController()->getParamValueByString(listener->getParameterID(), text, parsed) != kResultOk)
    {
        listener->updateControls();
        return false;
    }
    value = static_cast<float>(parsed);
    return true;
}

void VST3EditorKa::valueChanged(CControl* control)
{
    const int32_t tag = control->getTag();
    if (ParameterChangeListener* listener = getParameterChangeListener(tag))
    {
        float value = control->getValueNormalized();
        if (!acceptTypedText(control, listener, value))
            return;
        listener->performEdit(value);
    }
    // Controls that follow this one (the DSP object decides which) move with it.
    if (m_pPlugIn && tag >= 0)
    {
        const ParamValue plain =
            getController()->normalizedParamToPlain(static_cast<ParamID>(tag), control->getValueNormalized());
        if (const CControlEntry* record = m_pPlugIn->m_ControlList.controlAt(static_cast<uint32_t>(tag)))
            updateDependentControls(record->uId, static_cast<float>(plain));
    }
}

void VST3EditorKa::updateDependentControls(uint32 controlId, float plainValue)
{
    if (!m_pPlugIn)
        return;
    CDependentControl* list = nullptr;
    if (m_pPlugIn->reportDependentControls(controlId, plainValue, &list, false))
    {
        EditController* editController = getController();
        for (CDependentControl* node = list; node; node = node->pNext)
        {
            const int32 index = findControlIndex(node->uId);
            if (index == -1)
                continue;
            const auto id = static_cast<ParamID>(index);
            const ParamValue normalized = editController->plainParamToNormalized(id, node->fValue);
            editController->setParamNormalized(id, normalized);
            editController->performEdit(id, normalized);
        }
        m_pPlugIn->releaseDependentList(&list);
    }
    // Whatever the DSP object left in the list is freed here, the last node first.
    while (list)
    {
        CDependentControl** link = &list;
        while ((*link)->pNext)
            link = &(*link)->pNext;
        delete *link;
        *link = nullptr;
    }
}

int32 VST3EditorKa::findControlIndex(uint32 controlId) const
{
    if (!m_pPlugIn)
        return -1;
    const uint32_t count = m_ControlList.controlCount();
    for (uint32_t i = 0; i < count; ++i)
        if (m_ControlList.controlAt(i)->uId == controlId)
            return static_cast<int32>(i);
    return -1;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
