#include "MeasureOptions.h"

#include "ArgumentText.h"
#include "CommandOptions.h"
#include "OutputFormat.h"

#include <algorithm>
#include <cmath>

namespace TessalineTool {

namespace {
constexpr long kLowestRate = 8000;
constexpr long kHighestRate = 384000;
constexpr double kLongestSeconds = 60.0;
constexpr long kSmallestSide = 360; // below this the labels no longer fit
constexpr long kLargestSide = 8000;

// "1600x1000"
bool parseSize(const std::string& text, int& width, int& height)
{
    const size_t x = text.find('x');
    long w = 0, h = 0;
    if (x == std::string::npos || !parseWholeNumber(text.substr(0, x), kSmallestSide, kLargestSide, w)
        || !parseWholeNumber(text.substr(x + 1), kSmallestSide, kLargestSide, h))
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool takeMeasureValue(const std::string& option, const std::string& value, MeasureOptions& options,
                      std::string& error)
{
    long rate = 0;
    if (option == "--rate")
    {
        if (!parseWholeNumber(value, kLowestRate, kHighestRate, rate))
        {
            error = "--rate wants a sample rate in Hz from 8000 to 384000, not '" + value + "'";
            return false;
        }
        options.sampleRate = static_cast<int>(rate);
    }
    else if (option == "--length")
    {
        if (!parseNumber(value, options.lengthSeconds) || options.lengthSeconds <= 0.0
            || options.lengthSeconds > kLongestSeconds)
        {
            error = "--length wants seconds above 0 and up to 60, not '" + value + "'";
            return false;
        }
    }
    else if (!parseSize(value, options.width, options.height))
    {
        error = "--size wants WIDTHxHEIGHT in pixels, each from 360 to 8000, not '" + value + "'";
        return false;
    }
    return true;
}
} // namespace

const char* const kMeasureUsage =
    "  --rate HZ           sample rate of the response (8000..384000, default 48000)\n"
    "  --length SECONDS    length of the response (default: the tail the plug-in reports,\n"
    "                      which holds the whole room response)\n";

bool parseMeasureOptions(const std::vector<std::string>& args, bool withSize, MeasureOptions& options,
                         std::string& error)
{
    CommandOptions command;
    command.kindOf = [withSize](const std::string& arg) {
        const bool valued = (!withSize && arg == "--type") || arg == "--rate" || arg == "--length"
                            || (withSize && arg == "--size");
        return valued ? OptionKind::kValued : OptionKind::kUnknown;
    };
    command.take = [&options](const std::string& arg, const std::string& value, std::string& message) {
        if (arg != "--type")
            return takeMeasureValue(arg, value, options, message);
        if (formatForContainerName(value) == 0)
        {
            message = "--type wants one of " + std::string(kContainerNames) + ", not '" + value + "'";
            return false;
        }
        options.type = value;
        return true;
    };
    std::vector<std::string> files;
    if (!readCommandOptions(args, command, options.room, options.help, files, error))
        return false;
    if (options.help)
        return true;
    if (files.size() != 1)
    {
        error = "name one output file";
        return false;
    }
    options.outputPath = files[0];
    return true;
}

int64_t MeasureOptions::frames() const
{
    if (lengthSeconds <= 0.0)
        return 0;
    return std::max<int64_t>(1, std::llround(lengthSeconds * sampleRate));
}

} // namespace TessalineTool
