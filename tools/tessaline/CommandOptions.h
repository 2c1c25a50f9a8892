// The option loop every command shares, driven by the option table: "--" ends the options, --help
// is noted, the room settings (--preset, --set, --any-rate) are read here, every other option of
// the command goes to the command, and what is not an option is a file name.
#pragma once

#include "OptionTable.h"

#include <functional>
#include <string>
#include <vector>

namespace TessalineTool {

struct RoomSettings;

// Applies one of the command's own options (value "" for a flag); false with a message.
using OptionTaker = std::function<bool(const Option& option, const std::string& value, std::string& error)>;

// What a taker answers for an option of its scope it has no case for, so that a table entry
// without its reader fails loudly rather than being ignored.
bool optionNotRead(const Option& option, std::string& error);

// Reads args[first...] in order: the room settings into room (when not null), help, the command's
// own options through take; the other arguments are the file names, in order. False with a
// message at the first bad argument.
bool readCommandOptions(const std::vector<std::string>& args, size_t first, Scope scope, RoomSettings* room,
                        const OptionTaker& take, bool& help, std::vector<std::string>& files,
                        std::string& error);

} // namespace TessalineTool
