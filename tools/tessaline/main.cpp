// tessaline: command-line access to the built Tessaline.vst3 bundle through the test host.
#include "Commands.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {
struct Command
{
    const char* name;
    int (*run)(const TessalineTool::CommandLine&);
    const char* help;
};

// A new command is one line here and a run function in its own file.
const Command kCommands[] = {
    {"info", &TessalineTool::runInfo, "factory, class, parameters, units and presets (--json for scripts)"},
    {"render", &TessalineTool::runRender,
     "render IN to OUT through the plug-in (several IN with -o DIR; no files: the demo)"},
    {"ir", &TessalineTool::runIr,
     "write the room's impulse response (32-bit float WAV unless OUT names another)"},
    {"plot", &TessalineTool::runPlot, "draw the room's response, decay and reverberation times into a PNG"},
};

int usage(FILE* out)
{
    std::fprintf(out, "usage: tessaline [--bundle PATH] <command> [args]\n"
                      "       tessaline --version | --help\n\n"
                      "Loads the Tessaline room reverb (a VST3 bundle) and runs one command on it.\n\n"
                      "commands:\n");
    for (const Command& command : kCommands)
        std::fprintf(out, "  %-8s %s\n", command.name, command.help);
    std::fprintf(out,
                 "\noptions:\n  --bundle PATH  the Tessaline.vst3 bundle to load\n"
                 "  --version      print the version and exit\n  --help, -h     print this help and exit\n");
    std::fprintf(out,
                 "\n`tessaline <command> --help` explains a command's options.\n"
                 "The bundle defaults to %s\n",
                 TessalineTool::defaultBundlePath().c_str());
    return out == stderr ? 2 : 0;
}
} // namespace

int main(int argc, char** argv)
{
    TessalineTool::CommandLine commandLine;
    commandLine.bundlePath = TessalineTool::defaultBundlePath();
    const char* name = nullptr;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (!name && arg == "--bundle")
        {
            if (++i >= argc)
                return usage(stderr);
            commandLine.bundlePath = argv[i];
        }
        else if (!name && (arg == "--help" || arg == "-h"))
            return usage(stdout);
        else if (!name && arg == "--version")
        {
            std::printf("tessaline %s\n", TESSALINE_VERSION);
            return 0;
        }
        else if (!name)
            name = argv[i];
        else
            commandLine.args.push_back(arg);
    }
    if (!name)
        return usage(stderr);
    for (const Command& command : kCommands)
        if (std::strcmp(command.name, name) == 0)
            return command.run(commandLine);
    std::fprintf(stderr, "tessaline: unknown command '%s'\n", name);
    return usage(stderr);
}
