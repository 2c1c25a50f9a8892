// The component state: written by getState, read into the DSP object by setState and into the
// parameters by setComponentState; and the controller's own state, the program in effect. A
// stream is read completely before anything is applied.
#include "adapter/processor/Processor.h"

#include "adapter/parameters/ValueMapping.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
// A restored joystick position in -1 .. 1, or NaN (keep the current one) when not finite.
float restoredJoystick(float position)
{
    return std::isfinite(position) ? std::clamp(position, -1.0f, 1.0f) : CControlSnapshot::kKeep;
}

// The controller state: the four characters "prst", then the program's list position as a
// little-endian int32. Later fields may follow; a reader ignores them.
constexpr uint8_t kProgramStateTag[4] = {'p', 'r', 's', 't'};
constexpr int32 kProgramStateSize = 8;

// Reads exactly `size` bytes, or fails.
bool readBytes(IBStream* stream, uint8_t* bytes, int32 size)
{
    for (int32 have = 0; have < size;)
    {
        int32 got = 0;
        if (stream->read(bytes + have, size - have, &got) != kResultOk || got <= 0 || got > size - have)
            return false;
        have += got;
    }
    return true;
}
} // namespace

tresult PLUGIN_API Processor::getState(IBStream* state)
{
    // [main thread] Never reads the DSP object: the values come from the mirror the owner of
    // the DSP object publishes, overlaid with changes it has not applied yet. Nothing is
    // delivered to the host from here: this is the host's own call.
    if (!m_pPlugIn)
        return kResultFalse;
    StateValues values;
    currentStateValues(values);
    return m_StateLayout.write(state, values) ? kResultOk : kResultFalse;
}

// A single-component effect has one set of values: a stream restored through either interface
// goes to the DSP object and to the parameters alike, so that the host's view, the sound and the
// next saved state agree whichever of the two calls a host makes.
tresult PLUGIN_API Processor::setState(IBStream* state)
{
    // [main thread]
    if (!m_pPlugIn)
        return kResultFalse;
    CHostNotifier::Busy busy(m_Notifier);
    StateValues values;
    if (!m_StateLayout.read(state, values))
        return kResultFalse; // short or damaged: nothing changes
    restoreIntoPlugIn(values);
    forgetProgram();
    // The host learns every value the state changed, as a program change reports it: a host
    // that restores its own view of the controls afterwards then restores these values.
    showStateInParameters(values, true);
    m_Notifier.deliverEditsWithinCall();
    return kResultOk;
}

tresult PLUGIN_API Processor::setComponentState(IBStream* state)
{
    // [main thread] The host has just handed the values over and reads them itself: no restart,
    // but each value that differs from what the host last saw is reported as an edit, so that a
    // host keeping its own copy of the values shows the restored ones.
    if (!m_pPlugIn)
        return kResultFalse;
    CHostNotifier::Busy busy(m_Notifier);
    StateValues values;
    if (!m_StateLayout.read(state, values))
        return kResultFalse;
    restoreIntoPlugIn(values);
    forgetProgram();
    showStateInParameters(values, true);
    refreshDependentControls();
    return kResultOk;
}

void Processor::forgetProgram()
{
    // The 62 bytes name no program: the restored values came from none that is known (the
    // controller's state, restored after them, may name it), and any program chosen next applies.
    m_nProgram.store(-1, std::memory_order_release);
}

tresult PLUGIN_API Processor::getEditorState(IBStream* state)
{
    // [main thread] The program as the host sees it: a host restoring the project then sets the
    // program-change parameter to the program in effect, which changes nothing.
    Parameter* presets = getParameterObject(kParamFactoryPresets);
    if (!state || !presets)
        return kResultFalse;
    const int32 position = presetPositionOf(getParamNormalized(kParamFactoryPresets));
    uint8_t bytes[kProgramStateSize] = {};
    std::copy(std::begin(kProgramStateTag), std::end(kProgramStateTag), bytes);
    for (int i = 0; i < 4; ++i)
        bytes[4 + i] = static_cast<uint8_t>(static_cast<uint32_t>(position) >> (8 * i));
    int32 written = 0;
    return state->write(bytes, kProgramStateSize, &written) == kResultOk && written == kProgramStateSize
               ? kResultOk
               : kResultFalse;
}

tresult PLUGIN_API Processor::setEditorState(IBStream* state)
{
    // [main thread] Names the program the restored values came from, without applying it: the
    // component state holds the values. A short or foreign stream, or a position outside the
    // list, changes nothing.
    Parameter* presets = getParameterObject(kParamFactoryPresets);
    uint8_t bytes[kProgramStateSize] = {};
    if (!state || !presets || !readBytes(state, bytes, kProgramStateSize)
        || !std::equal(std::begin(kProgramStateTag), std::end(kProgramStateTag), bytes))
        return kResultFalse;
    uint32_t raw = 0;
    for (int i = 0; i < 4; ++i)
        raw |= static_cast<uint32_t>(bytes[4 + i]) << (8 * i);
    const auto position = static_cast<int32>(raw);
    if (presetSlotOfPosition(position) < 0)
        return kResultFalse;
    showPresetFromAudioThread(); // an earlier program the audio thread applied is shown first
    presets->setNormalized(presets->toNormalized(position));
    sendParamToPlugIn(kParamFactoryPresets, presets->getNormalized());
    m_nProgram.store(position, std::memory_order_release);
    return kResultOk;
}

void Processor::restoreIntoPlugIn(const StateValues& values)
{
    CControlSnapshot& draft = m_HandOff.beginDraft();
    for (uint32_t k = 0; k < draft.count && k < values.controls.size(); ++k)
    {
        const CControlEntry* control = m_pPlugIn->m_ControlList.controlAt(k);
        if (control && !std::isnan(values.controls[k]))
            draft.values[k] = settledPlainValue(*control, values.controls[k]);
    }
    draft.bypass = values.bypass ? 1 : 0;
    if (values.hasJoystick)
    {
        draft.joystickX = restoredJoystick(values.joystickX);
        draft.joystickY = restoredJoystick(values.joystickY);
    }
    submitDraft();
}

bool Processor::showStateInParameters(const StateValues& values, bool reportToHost)
{
    // A parameter whose value already leads to the stored one keeps it exactly: the host's own
    // value never comes back rounded through the state's single-precision numbers.
    bool changed = false;
    auto show = [&](Parameter& parameter, ParamValue normalized) {
        if (!parameter.setNormalized(normalized))
            return;
        changed = true;
        sendParamToPlugIn(parameter.getInfo().id, parameter.getNormalized());
        if (reportToHost)
            m_Notifier.postEdit(parameter.getInfo().id);
    };
    for (size_t k = 0; k < values.controls.size(); ++k)
    {
        const CControlEntry* control = m_pPlugIn->m_ControlList.controlAt(static_cast<uint32_t>(k));
        Parameter* parameter = getParameterObject(static_cast<ParamID>(k));
        if (!control || !parameter || !std::isfinite(values.controls[k])
            || (parameter->getInfo().flags & ParameterInfo::kIsReadOnly))
            continue;
        const float restored = settledPlainValue(*control, values.controls[k]);
        if (control->nDataType == kDataInt)
        {
            // A whole value has one normalized value: a stale fraction the host left that leads
            // to the same sound is replaced too, so what it reads back is what was saved. (A list
            // parameter never holds anything but its entries.)
            const ParamValue held =
                heldNormalized(static_cast<ParamID>(k), positionToParameter(*control, restored));
            if (std::isfinite(held))
                show(*parameter, held);
            continue;
        }
        const double lo = std::min(control->fMin, control->fMax);
        const double hi = std::max(control->fMin, control->fMax);
        const float shown =
            plainOfPosition(*control, parameterToPosition(*control, parameter->getNormalized()));
        if (shown != restored)
            show(*parameter, parameter->toNormalized(std::clamp(values.controls[k], lo, hi)));
    }
    if (Parameter* bypass = getParameterObject(kParamBypass))
        show(*bypass, bypass->toNormalized(values.bypass ? 1.0 : 0.0));
    const float joystick[2] = {restoredJoystick(values.joystickX), restoredJoystick(values.joystickY)};
    const ParamID joystickIds[2] = {kParamJoystickX, kParamJoystickY};
    for (int axis = 0; values.hasJoystick && axis < 2; ++axis)
    {
        Parameter* parameter = getParameterObject(joystickIds[axis]);
        if (!parameter || std::isnan(joystick[axis])
            || static_cast<float>(2.0 * parameter->getNormalized() - 1.0) == joystick[axis])
            continue;
        show(*parameter, parameter->toNormalized(joystick[axis] * 0.5 + 0.5));
    }
    return changed;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
