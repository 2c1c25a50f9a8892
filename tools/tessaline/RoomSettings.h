// The room a command works with, as the user names it: a factory preset and parameter settings
// ("--preset Studio --set Position=L90"), shared by render, ir and plot.
#pragma once

#include "OptionTable.h"
#include "ParameterEdit.h"

#include <string>
#include <vector>

namespace TessalineTool {

class PluginSession;

struct RoomSettings
{
    std::string preset;                // empty: the plug-in's initial values
    std::vector<std::string> settings; // "Title=Value", applied after the preset, in order
    bool anyRate = false;              // --any-rate: the rate-true class, not the original

    // The class to open: null for the bundle's first (the original room).
    const char* className() const;

    // Takes --preset NAME, --set PARAM=VALUE or --any-rate; false for any other option.
    bool take(OptionId option, const std::string& value);

    // The preset first, then each setting in order, so a setting overrides the preset's value.
    // False with a message naming the choices when a name or value is not accepted.
    bool resolve(PluginSession& session, std::vector<ParameterEdit>& edits, std::string& error) const;

    // "Studio, Position=L90" or "initial values", for titles and summaries.
    std::string describe() const;
};

} // namespace TessalineTool
