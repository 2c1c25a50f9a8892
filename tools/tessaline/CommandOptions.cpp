#include "CommandOptions.h"

#include "ArgumentText.h"

namespace TessalineTool {

bool readCommandOptions(const std::vector<std::string>& args, const CommandOptions& command,
                        RoomSettings& room, bool& help, std::vector<std::string>& files, std::string& error)
{
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i)
    {
        const std::string arg = args[i];
        if (optionsEnded || arg == "--")
        {
            if (optionsEnded)
                files.push_back(arg);
            optionsEnded = true;
            continue;
        }
        const RoomSettings::Taken taken = room.take(args, i, error);
        if (taken == RoomSettings::Taken::kFailed)
            return false;
        if (taken == RoomSettings::Taken::kYes)
            continue;
        if (arg == "--help" || arg == "-h")
        {
            help = true;
            continue;
        }
        const OptionKind kind = command.kindOf(arg);
        std::string value;
        if (kind == OptionKind::kValued && !takeValue(args, i, value, error))
            return false;
        if (kind != OptionKind::kUnknown)
        {
            if (!command.take(arg, value, error))
                return false;
        }
        else if (arg.size() > 1 && arg[0] == '-')
        {
            error = "unknown option '" + arg + "'";
            return false;
        }
        else
            files.push_back(arg);
    }
    return true;
}

} // namespace TessalineTool
