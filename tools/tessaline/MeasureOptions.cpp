#include "MeasureOptions.h"

#include "ArgumentText.h"
#include "CommandOptions.h"
#include "OutputFormat.h"
#include "RateLimits.h"

#include <algorithm>
#include <cmath>

namespace TessalineTool {

namespace {
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

bool takeMeasureOption(const Option& option, const std::string& value, MeasureOptions& options,
                       std::string& error)
{
    switch (option.id)
    {
    case OptionId::kRate: return parseRate("--rate", value, options.sampleRate, error);
    case OptionId::kLength:
        if (!parseNumber(value, options.lengthSeconds) || options.lengthSeconds <= 0.0
            || options.lengthSeconds > kLongestSeconds)
        {
            error = "--length wants seconds above 0 and up to 60, not '" + value + "'";
            return false;
        }
        return true;
    case OptionId::kSize:
        if (!parseSize(value, options.width, options.height))
        {
            error = "--size wants WIDTHxHEIGHT in pixels, each from 360 to 8000, not '" + value + "'";
            return false;
        }
        return true;
    case OptionId::kType:
        if (formatForContainerName(value) == 0)
        {
            error = "--type wants one of " + std::string(kContainerNames) + ", not '" + value + "'";
            return false;
        }
        options.type = value;
        return true;
    default: return optionNotRead(option, error);
    }
}
} // namespace

bool parseMeasureOptions(const std::vector<std::string>& args, Scope scope, MeasureOptions& options,
                         std::string& error)
{
    const OptionTaker take = [&options](const Option& option, const std::string& value,
                                        std::string& message) {
        return takeMeasureOption(option, value, options, message);
    };
    std::vector<std::string> files;
    if (!readCommandOptions(args, 0, scope, &options.room, take, options.help, files, error))
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
