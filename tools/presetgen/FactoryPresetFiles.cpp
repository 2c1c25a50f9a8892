#include "FactoryPresetFiles.h"

#include "HostStrings.h"

#include "public.sdk/source/vst/vstpresetfile.h"

#include <cstdio>

namespace TessalinePresets {

using namespace Steinberg;
using namespace Steinberg::Vst;

std::vector<FactoryPreset> factoryPresets(TessalineHost::HostInstance& instance)
{
    std::vector<FactoryPreset> presets;
    IUnitInfo* units = instance.getUnitInfo();
    IEditController* controller = instance.getController();
    ProgramListInfo list = {};
    if (!units || !controller || units->getProgramListCount() < 1
        || units->getProgramListInfo(0, list) != kResultOk)
        return presets;
    for (int32 program = 0; program < list.programCount; ++program)
    {
        String128 name = {};
        if (units->getProgramName(list.id, program, name) != kResultOk)
            continue;
        const auto id = static_cast<ParamID>(list.id);
        presets.push_back(
            {TessalineHost::toUtf8(name, 128), id, controller->plainParamToNormalized(id, program)});
    }
    return presets;
}

std::string presetFileName(const std::string& presetName)
{
    std::string name;
    for (const char c : presetName)
        name += (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
    return name + ".vstpreset";
}

bool writePresetFile(TessalineHost::HostInstance& instance, const TUID classId, const FactoryPreset& preset,
                     const std::string& folder, std::string& error)
{
    if (instance.getController()->setParamNormalized(preset.listId, preset.normalized) != kResultOk)
    {
        error = "selecting preset \"" + preset.name + "\" failed";
        return false;
    }
    const std::string path = folder + "/" + presetFileName(preset.name);
    const std::string temporary = path + ".tmp";
    IBStream* file = FileStream::open(temporary.c_str(), "wb");
    if (!file)
    {
        error = "cannot create " + temporary;
        return false;
    }
    const bool saved = PresetFile::savePreset(file, FUID::fromTUID(classId), instance.getComponent());
    file->release();
    if (!saved || std::rename(temporary.c_str(), path.c_str()) != 0)
    {
        std::remove(temporary.c_str());
        error = saved ? "cannot create " + path
                      : "the plug-in gave no component state for preset \"" + preset.name + "\"";
        return false;
    }
    return true;
}

} // namespace TessalinePresets
