#include "RenderOptions.h"

#include <cerrno>
#include <cstdlib>

namespace TessalineTool {

namespace {
constexpr int kMaxBlockSize = 8192;

bool parseBlockSize(const std::string& text, int& blockSize)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < 1 || value > kMaxBlockSize)
        return false;
    blockSize = static_cast<int>(value);
    return true;
}
} // namespace

const char* renderUsage()
{
    return "usage: tessaline render [IN OUT] [--demo [OUT]] [--preset NAME] [--set PARAM=VALUE ...]\n"
           "                        [--block N] [--no-tail]\n"
           "\n"
           "Renders IN through the Tessaline.vst3 bundle into OUT, at IN's sample rate.\n"
           "IN: WAV, AIFF, FLAC or OGG, mono or stereo. OUT gets IN's container with 32-bit float\n"
           "samples; FLAC has no float samples and gets 24-bit, OGG is Vorbis (lossy).\n"
           "Without IN and OUT (or with --demo) a built-in dry percussive phrase is rendered\n"
           "into OUT, default " "tessaline-demo.wav" ".\n"
           "\n"
           "  --preset NAME       start from a factory preset (\"Factory Preset\", \"Studio\")\n"
           "  --set PARAM=VALUE   set a parameter by its title and displayed value, after the\n"
           "                      preset: --set \"Abs L-R=5.31\" --set Position=L90 --set Stereo/Mono=Mono\n"
           "  --block N           samples per process call (1..8192, default 512)\n"
           "  --no-tail           stop at the end of the input instead of rendering the reverb tail\n"
           "\n"
           "`tessaline info` lists the parameters, their ranges and the preset names.\n";
}

bool parseRenderOptions(const std::vector<std::string>& args, RenderOptions& options,
                        std::string& error)
{
    std::vector<std::string> files;
    bool demo = false;
    for (size_t i = 0; i < args.size(); ++i)
    {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h")
            options.help = true;
        else if (arg == "--demo")
            demo = true;
        else if (arg == "--no-tail")
            options.renderTail = false;
        else if (arg == "--preset" || arg == "--set" || arg == "--block")
        {
            if (!hasValue)
            {
                error = arg + " needs a value";
                return false;
            }
            const std::string& value = args[++i];
            if (arg == "--preset")
                options.preset = value;
            else if (arg == "--set")
                options.settings.push_back(value);
            else if (!parseBlockSize(value, options.blockSize))
            {
                error = "--block wants a whole number from 1 to 8192, not '" + value + "'";
                return false;
            }
        }
        else if (arg.size() > 1 && arg[0] == '-')
        {
            error = "unknown option '" + arg + "'";
            return false;
        }
        else
            files.push_back(arg);
    }
    if (options.help)
        return true;
    if (demo && files.size() <= 1)
    {
        options.outputPath = files.empty() ? kDefaultDemoOutput : files[0];
        return true;
    }
    if (!demo && files.empty())
    {
        options.outputPath = kDefaultDemoOutput;
        return true;
    }
    if (!demo && files.size() == 2)
    {
        options.inputPath = files[0];
        options.outputPath = files[1];
        return true;
    }
    error = demo ? "--demo takes at most one file name (OUT)"
                 : "render needs both IN and OUT (or no file names, to render the demo)";
    return false;
}

} // namespace TessalineTool
