// The option loop the measuring and rendering commands share: "--" ends the options, the room
// settings (--preset, --set) and --help are read here, every other option goes to the command,
// and what is not an option is a file name.
#pragma once

#include "RoomSettings.h"

#include <functional>
#include <string>
#include <vector>

namespace TessalineTool {

// How a command takes one of its own options.
enum class OptionKind
{
    kUnknown, // not the command's: "unknown option"
    kFlag,    // stands alone
    kValued,  // takes the argument after it as its value
};

struct CommandOptions
{
    // What the command makes of an option name (seen after the room settings and --help).
    std::function<OptionKind(const std::string& option)> kindOf;
    // Applies one of the command's options (value "" for a flag); false with a message.
    std::function<bool(const std::string& option, const std::string& value, std::string& error)> take;
};

// Reads args in order into room, help and the command's own options; the other arguments are
// the file names, in order. False with a message at the first bad argument.
bool readCommandOptions(const std::vector<std::string>& args, const CommandOptions& command,
                        RoomSettings& room, bool& help, std::vector<std::string>& files, std::string& error);

} // namespace TessalineTool
