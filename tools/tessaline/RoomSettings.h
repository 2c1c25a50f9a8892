// The room a command works with, as the user names it: a factory preset and parameter settings
// ("--preset Studio --set Position=L90"), shared by render, ir and plot.
#pragma once

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

    enum class Taken
    {
        kNo,     // args[i] is another option
        kYes,    // taken, i moved onto its value
        kFailed, // the value is missing (error says so)
    };
    // Takes --preset NAME, --set PARAM=VALUE or --any-rate at args[i].
    Taken take(const std::vector<std::string>& args, size_t& i, std::string& error);

    // The preset first, then each setting in order, so a setting overrides the preset's value.
    // False with a message naming the choices when a name or value is not accepted.
    bool resolve(PluginSession& session, std::vector<ParameterEdit>& edits, std::string& error) const;

    // "Studio, Position=L90" or "initial values", for titles and summaries.
    std::string describe() const;
};

// The --preset, --set and --any-rate lines of a command's usage text.
extern const char* const kRoomSettingsUsage;

} // namespace TessalineTool
