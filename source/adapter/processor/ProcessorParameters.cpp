// The registry's parameters and units as the SDK's objects, and the Processor's parameter
// helpers.
#include "adapter/processor/Processor.h"

#include "adapter/parameters/LogParameter.h"
#include "adapter/parameters/PeakParameter.h"
#include "adapter/processor/TextConversion.h"
#include "adapter/parameters/VoltOctaveParameter.h"
#include "adapter/parameters/WholeRangeParameter.h"

#include <cassert>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
// The SDK's parameter object for a description; `units` is its UTF-16 units text.
Parameter* makeParameter(const ParameterDescription& description)
{
    using Curve = ParameterDescription::Curve;
    const auto id = static_cast<ParamID>(description.id);
    String128 title = {};
    copyUtf8ToString128(description.title.c_str(), title);
    int32 flags = description.automatable ? ParameterInfo::kCanAutomate : 0;
    if (description.readOnly)
        flags |= ParameterInfo::kIsReadOnly;
    if (description.bypass)
        flags |= ParameterInfo::kIsBypass;
    if (description.programChange)
        flags |= ParameterInfo::kIsProgramChange;
    if (description.curve == Curve::kPeak)
    {
        auto* meter = new PeakParameter(flags, id, title);
        meter->setNormalized(0.0);
        return meter;
    }
    if (description.curve == Curve::kList)
    {
        auto* list = new StringListParameter(title, id, nullptr, flags | ParameterInfo::kIsList, 0);
        for (const std::string& entry : description.entries)
        {
            String128 text = {};
            copyUtf8ToString128(entry.c_str(), text);
            list->appendString(text);
        }
        return list;
    }
    String128 units = {};
    copyUtf8ToString128(description.units.c_str(), units);
    const TChar* unitsOrNone = units[0] ? units : nullptr;
    const double min = description.min;
    const double max = description.max;
    const double value = description.defaultPlain;
    RangeParameter* parameter = nullptr;
    const int32 steps = description.steps;
    if (description.curve == Curve::kLog)
        parameter = new LogParameter(title, id, unitsOrNone, min, max, value, steps, flags, 0);
    else if (description.curve == Curve::kVoltOctave)
        parameter = new VoltOctaveParameter(title, id, unitsOrNone, min, max, value, steps, flags, 0);
    else if (steps > 0)
        parameter = new WholeRangeParameter(title, id, unitsOrNone, min, max, value, steps, flags, 0);
    else
        parameter = new RangeParameter(title, id, unitsOrNone, min, max, value, steps, flags, 0);
    if (description.precision >= 0)
        parameter->setPrecision(description.precision);
    return parameter;
}
} // namespace

void Processor::registerParameters()
{
    assert(parameters.getParameterCount() == 0 && m_MeterParamIds.empty() && "parameters registered twice");
    // [main thread] In the registry's order, which is the order hosts enumerate.
    for (const ParameterDescription& description : m_Registry.parameters())
        parameters.addParameter(makeParameter(description));
    for (const int32 id : m_Registry.meterIds())
        m_MeterParamIds.push_back(id);
}

void Processor::registerUnitsAndPresets()
{
    // A repeated initialize (after terminate, or a refused one without it) rebuilds the units
    // from scratch rather than appending a second set.
    m_Units.clear();
    for (const UnitDescription& unit : m_Registry.units())
    {
        String128 name = {};
        copyUtf8ToString128(unit.name.c_str(), name);
        m_Units.push_back(owned(new Unit(name, unit.id, unit.parentId, unit.programListId)));
    }
    // A refused second initialize keeps the first one's list; never register the id twice.
    if (!m_Registry.presetList() || getParameterObject(kParamFactoryPresets))
        return;
    parameters.addParameter(makeParameter(*m_Registry.presetList()));
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
