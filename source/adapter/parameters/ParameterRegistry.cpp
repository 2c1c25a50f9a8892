#include "adapter/parameters/ParameterRegistry.h"

#include "adapter/parameters/EnumList.h"

#include <cmath>
#include <cstdio>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

namespace {
bool isOrdinaryKind(int32_t kind) { return kind == 100 || kind == 102 || kind == 104 || kind == 106; }

// A 0 .. 1 range parameter without units, automatable, with the given display precision.
ParameterDescription unitRange(const char* title, uint32_t id, double defaultPlain, int32_t precision)
{
    ParameterDescription description;
    description.id = id;
    description.title = title;
    description.defaultPlain = defaultPlain;
    description.precision = precision;
    description.automatable = true;
    return description;
}
} // namespace

void CParameterRegistry::build(const CPlugIn* plugIn)
{
    m_Parameters.clear();
    if (plugIn)
    {
        // Parameter id = position in the control list, so skipped indices stay gaps.
        const uint32_t count = plugIn->m_ControlList.controlCount();
        for (uint32_t i = 0; i < count; ++i)
            if (const CControlEntry* control = plugIn->m_ControlList.controlAt(i))
                describeControl(*plugIn, i, *control);
        describeJoystickAndButtons(*plugIn);
    }
    describeBypassAndMidi();
    describeUnitsAndPresets(plugIn);
}

void CParameterRegistry::describeControl(const CPlugIn& plugIn, uint32_t index, const CControlEntry& control)
{
    ParameterDescription description;
    description.id = index;
    description.title = control.szName;
    if (control.nKind == kControlKindMeter)
    {
        description.curve = ParameterDescription::Curve::kPeak;
        description.readOnly = true;
        m_Parameters.push_back(std::move(description));
        return;
    }
    if (!isOrdinaryKind(control.nKind))
        return;
    description.automatable = true;
    if (control.nDataType == kDataUint)
    {
        description.curve = ParameterDescription::Curve::kList;
        for (int32_t k = 0;; ++k)
        {
            std::optional<std::string> item = enumListItem(control.szEnumList, k);
            if (!item)
                break;
            description.entries.push_back(std::move(*item));
        }
        m_Parameters.push_back(std::move(description));
        return;
    }
    description.units = control.szUnits;
    description.min = control.fMin;
    description.max = control.fMax;
    description.defaultPlain = plugIn.getControlValue(index);
    if (control.bLogControl)
        description.curve = ParameterDescription::Curve::kLog;
    else if (control.bVoltOctave)
        description.curve = ParameterDescription::Curve::kVoltOctave;
    description.precision = control.nDataType == kDataInt ? 0 : control.nPrecision;
    // An integer control holds whole values: hosts offer, draw and automate only those.
    if (control.nDataType == kDataInt && control.fMax > control.fMin)
        description.steps = static_cast<int32_t>(control.fMax - control.fMin);
    m_Parameters.push_back(std::move(description));
}

void CParameterRegistry::describeJoystickAndButtons(const CPlugIn& plugIn)
{
    m_Parameters.push_back(unitRange("VectorJoystick X", kParamJoystickX, 0.5, 2));
    m_Parameters.push_back(unitRange("VectorJoystick Y", kParamJoystickY, 0.5, 2));
    // An empty label means the DSP object does not offer that button.
    for (uint32_t b = 0; b < 3; ++b)
    {
        const char* label = plugIn.m_ButtonLabels[b];
        if (label && *label)
            m_Parameters.push_back(unitRange(label, kParamButton1 + b, 0.0, 0));
    }
}

void CParameterRegistry::describeBypassAndMidi()
{
    ParameterDescription bypass = unitRange("Bypass", kParamBypass, 0.0, -1);
    bypass.bypass = true;
    m_Parameters.push_back(std::move(bypass));
    struct Pseudo
    {
        const char* title;
        uint32_t id;
    };
    static const Pseudo kPseudo[] = {
        {"PitchBend", kParamPitchBend},
        {"MIDI Vol", kParamMidiVol},
        {"MIDI Pan", kParamMidiPan},
        {"MIDI Mod Wheel", kParamModWheel},
        {"MIDI Expression", kParamMidiExpression},
        {"MIDI Channel Pressure", kParamChannelPressure},
        {"MIDI Sustain Pedal", kParamSustainPedal},
        {"All Notes Off", kParamAllNotesOff},
    };
    for (const Pseudo& pseudo : kPseudo)
        m_Parameters.push_back(unitRange(pseudo.title, pseudo.id, 0.0, 1));
}

void CParameterRegistry::describeUnitsAndPresets(const CPlugIn* plugIn)
{
    m_Units.clear();
    m_PresetList.reset();
    m_Units.push_back({kRootUnitIdOfProcessor, 0, "RootUnit", kNoProgramList});
    ParameterDescription presets;
    presets.id = kParamFactoryPresets;
    presets.title = "Factory Presets";
    presets.curve = ParameterDescription::Curve::kList;
    presets.programChange = true;
    if (plugIn)
        for (const char* name : plugIn->m_PresetNames)
            if (name && *name) // empty slots close up: list positions follow the named slots
                presets.entries.emplace_back(name);
    if (presets.entries.empty())
        return;
    m_Units.push_back(
        {kPresetsUnitId, kRootUnitIdOfProcessor, "PresetsUnit", static_cast<int32_t>(kParamFactoryPresets)});
    m_PresetList = std::move(presets);
}

std::vector<int32_t> CParameterRegistry::meterIds() const
{
    std::vector<int32_t> ids;
    for (const ParameterDescription& description : m_Parameters)
        if (description.curve == ParameterDescription::Curve::kPeak)
            ids.push_back(static_cast<int32_t>(description.id));
    return ids;
}

const ParameterDescription* CParameterRegistry::find(uint32_t id) const
{
    for (const ParameterDescription& description : m_Parameters)
        if (description.id == id)
            return &description;
    return m_PresetList && m_PresetList->id == id ? &*m_PresetList : nullptr;
}

std::string CParameterRegistry::formatPlain(double plain, int32_t precision)
{
    // A negative precision prints as printf's default.
    char text[512] = {};
    std::snprintf(text, sizeof text, "%.*lf", static_cast<int>(precision), plain);
    return text;
}

std::optional<double> CParameterRegistry::parsePlain(const char* text)
{
    double plain = 0.0;
    if (!text || std::sscanf(text, "%lf", &plain) != 1 || !std::isfinite(plain))
        return std::nullopt;
    return plain;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
