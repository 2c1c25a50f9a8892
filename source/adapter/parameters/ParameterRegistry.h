// The host parameters, units and factory presets a DSP object declares, in no SDK type.
#pragma once

#include "adapter/parameters/ParameterDescription.h"
#include "adapter/parameters/ParameterIds.h"
#include "adapter/parameters/UnitDescription.h"
#include "core/CPlugIn.h"

#include <optional>
#include <string>
#include <vector>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

// With the display and parsing of plain values; the VST3 Processor turns the descriptions into
// the SDK's objects. List entries come from enumListItem, which the LV2 panel shares.
class CParameterRegistry
{
public:
    // [main thread] Describes the parameters of `plugIn` (controls at their current values, the
    // joystick axes and the buttons it offers; none without a DSP object), then the bypass and
    // the MIDI parameters; the units; the named presets. Replaces an earlier description.
    void build(const CPlugIn* plugIn);

    // In registration order: the order a host enumerates them in.
    const std::vector<ParameterDescription>& parameters() const { return m_Parameters; }
    // The root unit, and the presets unit when there are presets.
    const std::vector<UnitDescription>& units() const { return m_Units; }
    // The "Factory Presets" program-change list; absent without named presets.
    const std::optional<ParameterDescription>& presetList() const { return m_PresetList; }
    // Ids of the read-only meter parameters, in registration order.
    std::vector<int32_t> meterIds() const;
    // The description of parameter `id` (the preset list included), or null.
    const ParameterDescription* find(uint32_t id) const;

    // A plain value as shown with `precision` decimals ("%.*f").
    static std::string formatPlain(double plain, int32_t precision);
    // The leading number of a typed text (blanks skipped, trailing units ignored); nothing for a
    // text without one or for a number that is not finite ("inf", "nan").
    static std::optional<double> parsePlain(const char* text);

private:
    void describeControl(const CPlugIn& plugIn, uint32_t index, const CControlEntry& control);
    void describeJoystickAndButtons(const CPlugIn& plugIn);
    void describeBypassAndMidi();
    void describeUnitsAndPresets(const CPlugIn* plugIn);

    std::vector<ParameterDescription> m_Parameters;
    std::vector<UnitDescription> m_Units;
    std::optional<ParameterDescription> m_PresetList;
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
