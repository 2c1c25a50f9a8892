// The plug-in's factory presets as .vstpreset files: each preset is selected through the
// "Factory Presets" program-change parameter, as a host selects it, and the component state
// that results is stored under the class id.
#pragma once

#include "HostInstance.h"

#include <string>
#include <vector>

namespace TessalinePresets {

struct FactoryPreset
{
    std::string name;
    Steinberg::Vst::ParamID listId = 0;
    Steinberg::Vst::ParamValue normalized = 0.0; // the program-change parameter's value
};

// The presets of the instance's first program list (empty when it has none).
std::vector<FactoryPreset> factoryPresets(TessalineHost::HostInstance& instance);

// A file name for a preset name: characters a file system or shell trips over become '_'.
std::string presetFileName(const std::string& presetName);

// Selects the preset on the instance and writes <folder>/<name>.vstpreset; false with a
// message on failure.
bool writePresetFile(TessalineHost::HostInstance& instance, const Steinberg::TUID classId,
                     const FactoryPreset& preset, const std::string& folder, std::string& error);

} // namespace TessalinePresets
