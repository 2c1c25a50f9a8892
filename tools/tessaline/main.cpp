// tessaline: command-line access to the built Tessaline.vst3 bundle through the test host.
#include "CommandFailure.h"
#include "CommandHelp.h"
#include "Commands.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {
struct Command
{
    const char* name;
    int (*run)(const TessalineTool::CommandLine&);
};

// A new command is one line here, its description in CommandHelp.cpp and a run function in its
// own file.
const Command kCommands[] = {
    {"info", &TessalineTool::runInfo},
    {"render", &TessalineTool::runRender},
    {"ir", &TessalineTool::runIr},
    {"plot", &TessalineTool::runPlot},
};

int usage(FILE* out)
{
    std::fputs(TessalineTool::toolHelp(TessalineTool::defaultBundlePath()).c_str(), out);
    return out == stderr ? TessalineTool::kExitUsage : 0;
}
} // namespace

int main(int argc, char** argv)
{
    using namespace TessalineTool;
    CommandLine commandLine;
    commandLine.bundlePath = defaultBundlePath();
    const char* name = nullptr;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        const Option* option = name ? nullptr : findOption(kToolScope, arg);
        if (name)
            commandLine.args.push_back(arg);
        else if (!option)
            name = argv[i]; // a word or an option no command takes: checked below
        else if (option->id == OptionId::kBundle)
        {
            if (++i >= argc)
                return usage(stderr);
            commandLine.bundlePath = argv[i];
        }
        else if (option->id == OptionId::kHelp)
            return usage(stdout);
        else if (option->id == OptionId::kVersion)
        {
            std::printf("tessaline %s\n", TESSALINE_VERSION);
            return 0;
        }
        else
        {
            fail(std::string(option->name) + " is in the option table but not read before the command");
            return kExitUsage;
        }
    }
    if (!name)
        return usage(stderr);
    for (const Command& command : kCommands)
        if (std::strcmp(command.name, name) == 0)
            return command.run(commandLine);
    fail(std::string("unknown command '") + name + "'");
    return usage(stderr);
}
