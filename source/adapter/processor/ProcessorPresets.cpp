// Controller edits: setParamNormalized with the selection of a factory preset, and the walk
// that keeps dependent controls in step.
#include "adapter/processor/Processor.h"

#include "adapter/parameters/ValueMapping.h"

#include <algorithm>
#include <cmath>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

tresult PLUGIN_API Processor::setParamNormalized(ParamID tag, ParamValue value)
{
    // [main thread] A value that is not a number, or a preset outside the list, is refused.
    if (!std::isfinite(value))
        return kResultFalse;
    if (tag == kParamFactoryPresets && (value < 0.0 || value > 1.0))
        return kResultFalse;
    const tresult result = SingleComponentEffect::setParamNormalized(tag, value);
    sendParamToPlugIn(tag, value);
    if (result == kResultOk && tag == kParamFactoryPresets)
    {
        Parameter* presets = getParameterObject(kParamFactoryPresets);
        applyPreset(static_cast<int32>(presets->toPlain(value)));
    }
    return result;
}

int32 Processor::presetSlotOfPosition(int32 listPosition) const
{
    // The list holds the named slots only: position j is the j-th non-empty slot.
    if (!m_pPlugIn || listPosition < 0)
        return -1;
    int32 position = 0;
    for (int32 slot = 0; slot < kPresetSlots; ++slot)
    {
        const char* name = m_pPlugIn->m_PresetNames[slot];
        if (!name || !*name)
            continue;
        if (position == listPosition)
            return slot;
        ++position;
    }
    return -1;
}

bool Processor::applyPreset(int32 listPosition)
{
    // [main thread]
    const int32 slot = presetSlotOfPosition(listPosition);
    if (slot < 0)
        return false;
    CControlSnapshot& draft = m_HandOff.beginDraft();
    for (uint32_t k = 0; k < draft.count; ++k)
    {
        const CControlEntry* control = m_pPlugIn->m_ControlList.controlAt(k);
        if (!control)
            continue;
        const auto p = static_cast<float>(control->dPresetValues[slot]);
        const float span = control->fMax - control->fMin;
        const float u = span != 0.0f ? (p - control->fMin) / span : 0.0f;
        // What setControlNormalized(u) would store: the position mapped back, rounded for
        // integer and list controls.
        const float plain = span * u + control->fMin;
        const float settled = control->nDataType == kDataInt
                                  ? static_cast<float>(std::floor(static_cast<double>(plain) + 0.5))
                                  : plain;
        draft.values[k] = settledPlainValue(*control, settled);
        const double w = std::clamp(positionToParameter(*control, p), 0.0, 1.0);
        if (Parameter* parameter = getParameterObject(static_cast<ParamID>(k)))
            parameter->setNormalized(w);
        sendParamToPlugIn(static_cast<ParamID>(k), w);
    }
    const double c = m_pPlugIn->m_JoystickX.dPresetValues[slot];
    const double d = m_pPlugIn->m_JoystickY.dPresetValues[slot];
    const double axes[2] = {(c - d) / 1.41421356 / 1.414, (c + d) / 1.41421356 / 1.414};
    const ParamID ids[2] = {kParamJoystickX, kParamJoystickY};
    for (int axis = 0; axis < 2; ++axis)
    {
        const float position = std::isfinite(axes[axis])
                                   ? std::clamp(static_cast<float>(axes[axis]), -1.0f, 1.0f)
                                   : CControlSnapshot::kKeep;
        (axis == 0 ? draft.joystickX : draft.joystickY) = position;
        if (std::isnan(position))
            continue;
        const double normalized = position * 0.5 + 0.5;
        if (Parameter* parameter = getParameterObject(ids[axis]))
            parameter->setNormalized(normalized);
        sendParamToPlugIn(ids[axis], normalized);
    }
    submitDraft();
    if (componentHandler)
        componentHandler->restartComponent(kParamValuesChanged);
    refreshDependentControls();
    return true;
}

void Processor::refreshDependentControls()
{
    // [main thread]
    if (!m_pPlugIn)
        return;
    const uint32_t count = m_pPlugIn->m_ControlList.controlCount();
    for (uint32_t i = 0; i < count; ++i)
    {
        const ParamValue v = getParamNormalized(i);
        const ParamValue p = normalizedParamToPlain(i, v);
        const CControlEntry* control = m_pPlugIn->m_ControlList.controlAt(i);
        if (!control)
            continue;
        CDependentControl* list = nullptr;
        if (m_pPlugIn->reportDependentControls(control->uId, static_cast<float>(p), &list, true))
        {
            for (CDependentControl* item = list; item; item = item->pNext)
            {
                const int32 k = findControlIndex(item->uId);
                if (k < 0)
                    continue;
                const ParamValue w = plainParamToNormalized(static_cast<ParamID>(k), item->fValue);
                setParamNormalized(static_cast<ParamID>(k), w);
                if (componentHandler)
                    componentHandler->performEdit(static_cast<ParamID>(k), w);
            }
        }
        m_pPlugIn->releaseDependentList(&list);
    }
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
