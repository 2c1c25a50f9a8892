#include "RenderOptions.h"

#include "ArgumentText.h"
#include "CommandOptions.h"
#include "OutputFormat.h"
#include "RateLimits.h"

#include <limits>

namespace TessalineTool {

namespace {
constexpr long kMaxBlockSize = 8192;
constexpr long kMaxJobs = 1024;
constexpr long kMaxSeed = std::numeric_limits<long>::max();

// "30", "30%", "12.5": a share of the room signal from 0 to 100 percent.
bool parsePercent(std::string text, double& fraction)
{
    if (!text.empty() && text.back() == '%')
        text.pop_back();
    double percent = 0.0;
    return parseNumber(text, percent) && mixFromPercent(percent, fraction);
}

// The file names: IN OUT, several IN with -o DIR, or none (or one with --demo) for the demo.
bool assignFiles(const std::vector<std::string>& files, RenderOptions& options, std::string& error)
{
    const bool demo = options.demo;
    if (!options.listFile.empty())
    {
        error = demo || !files.empty() || !options.outputFolder.empty()
                    ? "--list takes its inputs and outputs from the list, not from the command line"
                    : "";
        return error.empty();
    }
    if (!options.outputFolder.empty())
    {
        if (demo || files.empty())
        {
            error = demo ? "--demo and -o DIR do not go together" : "-o DIR needs at least one input file";
            return false;
        }
        options.inputs = files;
        return true;
    }
    if (files.size() <= 1 && (demo || files.empty()))
    {
        options.outputPath = files.empty() ? kDefaultDemoOutput : files[0];
        return true;
    }
    if (!demo && files.size() == 2)
    {
        options.inputs = {files[0]};
        options.outputPath = files[1];
        return true;
    }
    error = demo ? "--demo takes at most one file name (OUT)"
                 : "render needs both IN and OUT, or several IN with -o DIR (or no file names, to render the "
                   "demo)";
    return false;
}

} // namespace

bool mixFromPercent(double percent, double& mix)
{
    if (!(percent >= 0.0 && percent <= 100.0))
        return false;
    mix = percent / 100.0;
    return true;
}

bool takeRenderOption(const Option& option, const std::string& value, RenderOptions& options,
                      std::string& error)
{
    long number = 0;
    switch (option.id)
    {
    case OptionId::kDemo: options.demo = true; return true;
    case OptionId::kNoTail: options.renderTail = false; return true;
    case OptionId::kBlock:
        if (!parseWholeNumber(value, 1, kMaxBlockSize, number))
        {
            error = "--block wants a whole number from 1 to 8192, not '" + value + "'";
            return false;
        }
        options.blockSize = static_cast<int>(number);
        return true;
    case OptionId::kJobs:
        if (!parseWholeNumber(value, 1, kMaxJobs, number))
        {
            error = "--jobs wants a whole number from 1 to 1024, not '" + value + "'";
            return false;
        }
        options.jobs = static_cast<int>(number);
        return true;
    case OptionId::kVary: return options.variation.add(value, error);
    case OptionId::kSeed:
        if (!parseWholeNumber(value, 0, kMaxSeed, number))
        {
            error =
                "--seed wants a whole number from 0 to " + std::to_string(kMaxSeed) + ", not '" + value + "'";
            return false;
        }
        options.seed = static_cast<uint64_t>(number);
        return true;
    case OptionId::kRooms:
        if (value.empty() || value == "-")
        {
            error = "--rooms needs a file name";
            return false;
        }
        options.roomsFile = value;
        return true;
    case OptionId::kRoomRate: return parseRate("--room-rate", value, options.roomRate, error);
    case OptionId::kList:
        if (value.empty())
        {
            error = "--list needs a file name (or - for standard input)";
            return false;
        }
        options.listFile = value;
        return true;
    case OptionId::kMix:
        if (!parsePercent(value, options.mix))
        {
            error = "--mix wants a percentage from 0 to 100, not '" + value + "'";
            return false;
        }
        return true;
    case OptionId::kNormalize:
        if (!parseNumber(value, options.normalizeDbfs) || options.normalizeDbfs > 0.0)
        {
            error = "--normalize wants a peak level in dBFS, 0 or below (e.g. -1), not '" + value + "'";
            return false;
        }
        options.normalize = true;
        return true;
    case OptionId::kType:
        if (formatForContainerName(value) == 0)
        {
            error = "--type wants one of " + std::string(kContainerNames) + ", not '" + value + "'";
            return false;
        }
        options.type = value;
        return true;
    case OptionId::kOutputDir:
        if (value.empty())
        {
            error = std::string(option.name) + " needs a folder name";
            return false;
        }
        options.outputFolder = value;
        return true;
    default: return optionNotRead(option, error);
    }
}

bool parseRenderOptions(const std::vector<std::string>& args, RenderOptions& options, std::string& error)
{
    const OptionTaker take = [&options](const Option& option, const std::string& value,
                                        std::string& message) {
        return takeRenderOption(option, value, options, message);
    };
    std::vector<std::string> files;
    if (!readCommandOptions(args, 0, kRenderScope, &options.room, take, options.help, files, error))
        return false;
    if (!options.help && !options.variation.empty() && options.listFile.empty()
        && options.outputFolder.empty())
    {
        error = "--vary needs a batch: several IN with -o DIR, or --list";
        return false;
    }
    if (!options.help && !options.roomsFile.empty() && options.variation.empty())
    {
        error = "--rooms records what --vary draws; give --vary too";
        return false;
    }
    return options.help || assignFiles(files, options, error);
}

} // namespace TessalineTool
