#include "CommandOptions.h"

#include "ArgumentText.h"
#include "RoomSettings.h"

namespace TessalineTool {

namespace {
std::string unknownOption(Scope scope, const std::string& arg)
{
    if (scope != kJobScope)
        return "unknown option '" + arg + "'";
    std::string names;
    for (const Option* option : optionsOf(kJobScope))
        names += std::string(", ") + option->name;
    return "'" + arg + "' is not a job option (a line takes IN OUT, then" + names.substr(1) + ")";
}
} // namespace

bool optionNotRead(const Option& option, std::string& error)
{
    error = std::string(option.name) + " is in the option table but this command does not read it";
    return false;
}

bool readCommandOptions(const std::vector<std::string>& args, size_t first, Scope scope, RoomSettings* room,
                        const OptionTaker& take, bool& help, std::vector<std::string>& files,
                        std::string& error)
{
    bool optionsEnded = false;
    for (size_t i = first; i < args.size(); ++i)
    {
        const std::string& arg = args[i];
        const Option* option = optionsEnded ? nullptr : findOption(scope, arg);
        if (!option)
        {
            // A job line's file names come before its options: there, any other word is a mistake.
            if (!optionsEnded && ((arg.size() > 1 && arg[0] == '-') || scope == kJobScope))
            {
                error = unknownOption(scope, arg);
                return false;
            }
            files.push_back(arg);
            continue;
        }
        std::string value;
        if (option->valueName && !takeValue(args, i, value, error))
            return false;
        if (option->id == OptionId::kEndOfOptions)
            optionsEnded = true;
        else if (option->id == OptionId::kHelp)
            help = true;
        else if (!(room && room->take(option->id, value)) && !take(*option, value, error))
            return false;
    }
    return true;
}

} // namespace TessalineTool
