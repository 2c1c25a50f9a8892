#include "RoomSettings.h"

#include "PluginSession.h"

namespace TessalineTool {

const char* RoomSettings::className() const { return anyRate ? "Tessaline Any Rate" : nullptr; }

bool RoomSettings::take(OptionId option, const std::string& value)
{
    if (option == OptionId::kAnyRate)
        anyRate = true;
    else if (option == OptionId::kPreset)
        preset = value;
    else if (option == OptionId::kSet)
        settings.push_back(value);
    else
        return false;
    return true;
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
