// Controller edits: setParamNormalized with the selection of a factory preset, and the walk
// that keeps dependent controls in step. A controller edit also reaches the DSP object (through
// the hand-off), so that a state saved right after it holds it; the host learns of values the
// Processor changed itself only through notifications delivered after its call has returned.
#include "adapter/processor/Processor.h"

#include "adapter/parameters/FactoryPresetValues.h"
#include "adapter/parameters/ValueMapping.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

tresult PLUGIN_API Processor::setParamNormalized(ParamID tag, ParamValue value)
{
    // [main thread, or a host's audio thread] A value that is not a number, or a preset outside
    // the list, is refused.
    if (!std::isfinite(value))
        return kResultFalse;
    if (tag == kParamFactoryPresets && (value < 0.0 || value > 1.0))
        return kResultFalse;
    value = heldNormalized(tag, value);
    if (!m_Notifier.onUiThread())
    {
        // A host may pass a program change on from its audio thread (a MIDI program change):
        // the main thread's objects are not touched there; the audio thread applies it.
        if (tag == kParamFactoryPresets)
        {
            const int32 position = presetPositionOf(value);
            if (position < 0)
                return kResultFalse;
            m_nRequestedPreset.store(position, std::memory_order_release);
            return kResultOk;
        }
        const tresult result = SingleComponentEffect::setParamNormalized(tag, value);
        sendParamToPlugIn(tag, value);
        return result;
    }
    CHostNotifier::Busy busy(m_Notifier);
    const tresult result = SingleComponentEffect::setParamNormalized(tag, value);
    sendParamToPlugIn(tag, value);
    if (result != kResultOk)
        return result;
    if (tag == kParamFactoryPresets)
        applyPreset(presetPositionOf(value));
    else
        forwardControllerEdit(tag, value);
    return result;
}

ParamValue Processor::heldNormalized(ParamID id, ParamValue value)
{
    // A list or integer control holds one whole value: the parameter shows the one the DSP
    // object takes (the nearest), so that what the host reads back, its text and the sound agree.
    const CControlEntry* control = m_pPlugIn ? m_pPlugIn->m_ControlList.controlAt(id) : nullptr;
    const Parameter* parameter = control ? getParameterObject(id) : nullptr;
    if (!parameter || (parameter->getInfo().flags & ParameterInfo::kIsReadOnly))
        return value;
    const float plain = plainOfPosition(*control, parameterToPosition(*control, std::clamp(value, 0.0, 1.0)));
    if (!std::isfinite(plain))
        return value;
    if (control->nDataType == kDataUint && parameter->getInfo().stepCount > 0)
        return parameter->toNormalized(plain);
    if (control->nDataType == kDataInt)
        return std::clamp(positionToParameter(*control, plain), 0.0, 1.0);
    return value;
}

tresult PLUGIN_API Processor::setComponentHandler(IComponentHandler* handler)
{
    m_Notifier.setComponentHandler(handler);
    return SingleComponentEffect::setComponentHandler(handler);
}

void Processor::forwardControllerEdit(ParamID id, ParamValue value)
{
    // [main thread] The same values the processing path derives from a host change.
    if (!m_pPlugIn)
        return;
    const double v = std::clamp(value, 0.0, 1.0);
    const CControlEntry* control = m_pPlugIn->m_ControlList.controlAt(id);
    const Parameter* parameter = getParameterObject(id);
    if (control && (!parameter || (parameter->getInfo().flags & ParameterInfo::kIsReadOnly)))
        return; // meters and controls without a parameter are not the host's to set
    CControlSnapshot& draft = m_HandOff.beginDraft();
    if (control)
    {
        if (id >= draft.count)
            return; // past what a snapshot carries: nothing of the sound to change
        draft.values[id] = plainOfPosition(*control, parameterToPosition(*control, v));
    }
    else if (id == kParamBypass)
        draft.bypass = v != 0.0 ? 1 : 0;
    else if (id == kParamJoystickX)
        draft.joystickX = static_cast<float>(2.0 * v - 1.0);
    else if (id == kParamJoystickY)
        draft.joystickY = static_cast<float>(2.0 * v - 1.0);
    else
        return; // buttons and MIDI parameters are events, not state: they come with the blocks
    submitDraft();
}

int32 Processor::presetPositionOf(ParamValue value)
{
    const Parameter* presets = getParameterObject(kParamFactoryPresets);
    if (!presets || !(value >= 0.0 && value <= 1.0))
        return -1;
    return static_cast<int32>(presets->toPlain(value));
}

int32 Processor::presetSlotOfPosition(int32 listPosition) const
{
    return m_pPlugIn ? factoryPresetSlot(*m_pPlugIn, listPosition) : -1;
}

void Processor::fillPresetSnapshot(int32 slot, CControlSnapshot& snapshot) const
{
    assert(m_pPlugIn && slot >= 0 && slot < kPresetSlots);
    assert(snapshot.count == m_StateLayout.controlCount() && "a snapshot sized for another control list");
    factoryPresetValues(*m_pPlugIn, slot, snapshot.values.get(), snapshot.count, snapshot.joystickX,
                        snapshot.joystickY);
}

bool Processor::showPresetInParameters(int32 slot, const CControlSnapshot& snapshot)
{
    assert(m_pPlugIn && slot >= 0 && slot < kPresetSlots);
    // Every parameter the preset changes is posted as an edit for the host.
    bool changed = false;
    auto show = [&](ParamID id, double normalized) {
        if (Parameter* parameter = getParameterObject(id); parameter && parameter->setNormalized(normalized))
        {
            changed = true;
            m_Notifier.postEdit(id);
        }
        sendParamToPlugIn(id, normalized);
    };
    for (uint32_t k = 0; k < snapshot.count; ++k)
        if (const CControlEntry* control = m_pPlugIn->m_ControlList.controlAt(k))
            show(static_cast<ParamID>(k),
                 std::clamp(positionToParameter(*control, control->dPresetValues[slot]), 0.0, 1.0));
    if (!std::isnan(snapshot.joystickX))
        show(kParamJoystickX, snapshot.joystickX * 0.5 + 0.5);
    if (!std::isnan(snapshot.joystickY))
        show(kParamJoystickY, snapshot.joystickY * 0.5 + 0.5);
    return changed;
}

bool Processor::applyPreset(int32 listPosition)
{
    // [main thread] Choosing the program in effect again changes nothing: a host that sets the
    // program-change parameter again after restoring a project (with the value it saved) would
    // otherwise put the program back over the values the project holds.
    const int32 slot = presetSlotOfPosition(listPosition);
    if (slot < 0 || m_nProgram.exchange(listPosition, std::memory_order_acq_rel) == listPosition)
        return false;
    CControlSnapshot& draft = m_HandOff.beginDraft();
    fillPresetSnapshot(slot, draft);
    showPresetInParameters(slot, draft);
    submitDraft();
    refreshDependentControls();
    // The host learns each changed value as an edit: from its run loop once this call has
    // returned, or within this call when it offers none (there is no later moment then).
    m_Notifier.deliverEditsWithinCall();
    return true;
}

void Processor::applyPresetOnAudioThread(int32 listPosition)
{
    // [audio thread] Applied at once; the parameters follow on the main thread once the block's
    // values are published.
    const int32 slot = presetSlotOfPosition(listPosition);
    if (slot < 0 || m_nProgram.exchange(listPosition, std::memory_order_acq_rel) == listPosition)
        return;
    m_AudioPreset.clear();
    fillPresetSnapshot(slot, m_AudioPreset);
    applySnapshot(m_AudioPreset);
    m_nBlockPreset = listPosition;
}

void Processor::showPresetFromAudioThread()
{
    // [main thread] After a program change the audio thread applied, the parameters show what the
    // DSP object holds now: the published values with the edits it has not taken yet on top. An
    // edit made after the program change therefore stays, whenever this runs. Only a value the
    // host does not see yet is reported (as an edit, from the host's loop): a program change the
    // host sent both ways (controller and processing) is reported once.
    const int32 position = m_nAudioPreset.exchange(-1, std::memory_order_acq_rel);
    if (position < 0 || !m_pPlugIn)
        return;
    StateValues values;
    currentStateValues(values);
    if (Parameter* presets = getParameterObject(kParamFactoryPresets))
        presets->setNormalized(presets->toNormalized(position));
    if (showStateInParameters(values, true))
        refreshDependentControls();
}

ParamValue PLUGIN_API Processor::getParamNormalized(ParamID tag)
{
    // [main thread] A program change the audio thread applied is shown before the host reads.
    if (m_Notifier.onUiThread())
        showPresetFromAudioThread();
    return SingleComponentEffect::getParamNormalized(tag);
}

void Processor::refreshDependentControls()
{
    // [main thread] The host learns of each dependent change through a deferred edit.
    if (!m_pPlugIn)
        return;
    CHostNotifier::Busy busy(m_Notifier);
    const uint32_t count = m_pPlugIn->m_ControlList.controlCount();
    for (uint32_t i = 0; i < count; ++i)
    {
        const ParamValue v = SingleComponentEffect::getParamNormalized(i);
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
                m_Notifier.postEdit(static_cast<ParamID>(k));
            }
        }
        m_pPlugIn->releaseDependentList(&list);
    }
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
