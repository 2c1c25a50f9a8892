#include "RoomSettings.h"

#include "ArgumentText.h"
#include "PluginSession.h"

namespace TessalineTool {

const char* const kRoomSettingsUsage =
    "  --preset NAME       start from a factory preset (\"Factory Preset\", \"Studio\")\n"
    "  --set PARAM=VALUE   set a parameter by its title and displayed value, after the\n"
    "                      preset: --set \"Abs L-R=5.31\" --set Position=L90 --set Stereo/Mono=Mono\n"
    "  --any-rate          through the class \"Tessaline Any Rate\": the room as it sounds at\n"
    "                      44.1 kHz at every sample rate (\"Tessaline\" plays its tables at the\n"
    "                      session's rate, so the room shrinks and brightens above 44.1 kHz)\n";

const char* RoomSettings::className() const { return anyRate ? "Tessaline Any Rate" : nullptr; }

RoomSettings::Taken RoomSettings::take(const std::vector<std::string>& args, size_t& i, std::string& error)
{
    const std::string arg = args[i];
    if (arg == "--any-rate")
    {
        anyRate = true;
        return Taken::kYes;
    }
    if (arg != "--preset" && arg != "--set")
        return Taken::kNo;
    std::string value;
    if (!takeValue(args, i, value, error))
        return Taken::kFailed;
    if (arg == "--preset")
        preset = value;
    else
        settings.push_back(value);
    return Taken::kYes;
}

bool RoomSettings::resolve(PluginSession& session, std::vector<ParameterEdit>& edits,
                           std::string& error) const
{
    ParameterEdit edit;
    if (!preset.empty())
    {
        if (!resolvePreset(session.presets(), preset, edit, error))
            return false;
        edits.push_back(edit);
    }
    for (const std::string& setting : settings)
    {
        if (!resolveSetting(session.controller(), setting, edit, error))
            return false;
        edits.push_back(edit);
    }
    return true;
}

std::string RoomSettings::describe() const
{
    std::string text = preset;
    for (const std::string& setting : settings)
        text += (text.empty() ? "" : ", ") + setting;
    if (text.empty())
        text = "initial values";
    return anyRate ? text + ", any rate" : text;
}

} // namespace TessalineTool
