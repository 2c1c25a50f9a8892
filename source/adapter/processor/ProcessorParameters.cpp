// Registration of the host parameters and units, and the Processor's parameter helpers.
#include "adapter/processor/Processor.h"

#include "adapter/parameters/LogParameter.h"
#include "adapter/parameters/PeakParameter.h"
#include "adapter/processor/TextConversion.h"
#include "adapter/parameters/VoltOctaveParameter.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
bool isOrdinaryKind(int32_t kind) { return kind == 100 || kind == 102 || kind == 104 || kind == 106; }

// A 0 .. 1 range parameter of unit 0 with the given display precision.
RangeParameter* makeUnitRange(const TChar* title, ParamID id, double defaultPlain, int32 flags,
                              int32 precision)
{
    auto* parameter = new RangeParameter(title, id, nullptr, 0.0, 1.0, defaultPlain, 0, flags, 0);
    parameter->setPrecision(precision);
    return parameter;
}
} // namespace

void Processor::registerControlParameters()
{
    // [main thread] Parameter id = position in the control list, so skipped indices stay gaps.
    const uint32_t count = m_pPlugIn->m_ControlList.controlCount();
    for (uint32_t i = 0; i < count; ++i)
        if (const CControlEntry* control = m_pPlugIn->m_ControlList.controlAt(i))
            registerControlParameter(static_cast<int32>(i), *control);
}

void Processor::registerControlParameter(int32 index, const CControlEntry& control)
{
    const auto id = static_cast<ParamID>(index);
    String128 title = {};
    copyUtf8ToString128(control.szName, title);
    if (control.nKind == kControlKindMeter)
    {
        auto* meter = new PeakParameter(ParameterInfo::kIsReadOnly, id, title);
        meter->setNormalized(0.0);
        parameters.addParameter(meter);
        m_MeterParamIds.push_back(index);
        return;
    }
    if (!isOrdinaryKind(control.nKind))
        return;
    if (control.nDataType == kDataUint)
    {
        auto* list = new StringListParameter(title, id, nullptr,
                                             ParameterInfo::kCanAutomate | ParameterInfo::kIsList, 0);
        for (int32 k = 0;; ++k)
        {
            const std::optional<std::string> item = getEnumItem(control.szEnumList, k);
            if (!item)
                break;
            String128 text = {};
            copyUtf8ToString128(item->c_str(), text);
            list->appendString(text);
        }
        parameters.addParameter(list);
        return;
    }
    String128 units = {};
    copyUtf8ToString128(control.szUnits, units);
    const TChar* unitsOrNone = units[0] ? units : nullptr;
    const double value = m_pPlugIn->getControlValue(static_cast<uint32_t>(index));
    const double min = control.fMin;
    const double max = control.fMax;
    const int32 flags = ParameterInfo::kCanAutomate;
    RangeParameter* parameter = nullptr;
    if (control.bLogControl)
        parameter = new LogParameter(title, id, unitsOrNone, min, max, value, 0, flags, 0);
    else if (control.bVoltOctave)
        parameter = new VoltOctaveParameter(title, id, unitsOrNone, min, max, value, 0, flags, 0);
    else
        parameter = new RangeParameter(title, id, unitsOrNone, min, max, value, 0, flags, 0);
    parameter->setPrecision(control.nDataType == kDataInt ? 0 : control.nPrecision);
    parameters.addParameter(parameter);
}

void Processor::registerJoystickAndButtons()
{
    const int32 automate = ParameterInfo::kCanAutomate;
    parameters.addParameter(makeUnitRange(STR16("VectorJoystick X"), kParamJoystickX, 0.5, automate, 2));
    parameters.addParameter(makeUnitRange(STR16("VectorJoystick Y"), kParamJoystickY, 0.5, automate, 2));
    // An empty label means the DSP object does not offer that button.
    for (int32 b = 0; b < 3; ++b)
    {
        const char* label = m_pPlugIn->m_ButtonLabels[b];
        if (!label || !*label)
            continue;
        String128 title = {};
        copyUtf8ToString128(label, title);
        parameters.addParameter(makeUnitRange(title, kParamButton1 + b, 0.0, automate, 0));
    }
}

void Processor::registerBypassAndMidiParameters()
{
    const int32 automate = ParameterInfo::kCanAutomate;
    auto* bypass = new RangeParameter(STR16("Bypass"), kParamBypass, nullptr, 0.0, 1.0, 0.0, 0,
                                      automate | ParameterInfo::kIsBypass, 0);
    parameters.addParameter(bypass);
    struct Pseudo
    {
        const TChar* title;
        ParamID id;
    };
    static const Pseudo kPseudo[] = {
        {STR16("PitchBend"), kParamPitchBend},
        {STR16("MIDI Vol"), kParamMidiVol},
        {STR16("MIDI Pan"), kParamMidiPan},
        {STR16("MIDI Mod Wheel"), kParamModWheel},
        {STR16("MIDI Expression"), kParamMidiExpression},
        {STR16("MIDI Channel Pressure"), kParamChannelPressure},
        {STR16("MIDI Sustain Pedal"), kParamSustainPedal},
        {STR16("All Notes Off"), kParamAllNotesOff},
    };
    for (const Pseudo& pseudo : kPseudo)
        parameters.addParameter(makeUnitRange(pseudo.title, pseudo.id, 0.0, automate, 1));
}

int32 Processor::presetNameCount() const
{
    int32 count = 0;
    if (m_pPlugIn)
        for (const char* name : m_pPlugIn->m_PresetNames)
            if (name && *name)
                ++count;
    return count;
}

void Processor::registerUnitsAndPresets()
{
    // A repeated initialize (after terminate, or a refused one without it) rebuilds the units
    // from scratch rather than appending a second set.
    m_Units.clear();
    m_Units.push_back(owned(new Unit(STR16("RootUnit"), kRootUnitIdOfProcessor, 0, kNoProgramListId)));
    if (presetNameCount() == 0)
        return;
    m_Units.push_back(
        owned(new Unit(STR16("PresetsUnit"), kPresetsUnitId, kRootUnitIdOfProcessor, kParamFactoryPresets)));
    // A refused second initialize keeps the first one's list; never register the id twice.
    if (getParameterObject(kParamFactoryPresets))
        return;
    auto* presets = new StringListParameter(STR16("Factory Presets"), kParamFactoryPresets, nullptr,
                                            ParameterInfo::kIsProgramChange | ParameterInfo::kIsList, 0);
    for (const char* name : m_pPlugIn->m_PresetNames)
    {
        if (!name || !*name)
            continue; // empty slots close up: list positions follow the named slots
        String128 text = {};
        copyUtf8ToString128(name, text);
        presets->appendString(text);
    }
    parameters.addParameter(presets);
}

tresult PLUGIN_API Processor::getParameterInfo(int32 paramIndex, ParameterInfo& info)
{
    if (paramIndex < 0 || paramIndex >= getParameterCount())
        return kResultFalse;
    return SingleComponentEffect::getParameterInfo(paramIndex, info);
}

tresult PLUGIN_API Processor::getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string)
{
    // A list parameter indexes its strings with the value: keep it inside 0 .. 1 (NaN -> 0), and
    // name the entry the DSP object takes for it.
    if (!(valueNormalized >= 0.0))
        valueNormalized = 0.0;
    else if (valueNormalized > 1.0)
        valueNormalized = 1.0;
    return SingleComponentEffect::getParamStringByValue(id, heldNormalized(id, valueNormalized), string);
}

ParamValue PLUGIN_API Processor::normalizedParamToPlain(ParamID id, ParamValue valueNormalized)
{
    if (Parameter* parameter = getParameterObject(id))
        return parameter->toPlain(valueNormalized);
    return valueNormalized;
}

ParamValue PLUGIN_API Processor::plainParamToNormalized(ParamID id, ParamValue plainValue)
{
    if (Parameter* parameter = getParameterObject(id))
        return parameter->toNormalized(plainValue);
    return plainValue;
}

void Processor::sendParamToPlugIn(ParamID id, ParamValue valueNormalized)
{
    if (!m_pPlugIn)
        return;
    CUiMessage message;
    message.code = kUiParameterValue;
    message.paramIndex = static_cast<int32_t>(id);
    message.paramValue = valueNormalized;
    m_pPlugIn->uiMessage(&message);
}

int32 Processor::findControlIndex(uint32 controlId) const
{
    if (!m_pPlugIn)
        return -1;
    const uint32_t count = m_pPlugIn->m_ControlList.controlCount();
    for (uint32_t i = 0; i < count; ++i)
    {
        const CControlEntry* control = m_pPlugIn->m_ControlList.controlAt(i);
        if (control && control->uId == controlId)
            return static_cast<int32>(i);
    }
    return -1;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
