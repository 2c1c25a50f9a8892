#include "RoomVariation.h"

#include "ArgumentText.h"
#include "ParameterEdit.h"
#include "PluginSession.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace TessalineTool {

namespace {
std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string()
                                      : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// FNV-1a: the output's name as a number, the same on every machine.
uint64_t nameHash(const std::string& name)
{
    uint64_t hash = 14695981039346656037ull;
    for (const char c : name)
    {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// A number from LOW to HIGH as a setting's text: four decimals, never outside the bounds.
std::string numberText(double value, double low, double high)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.4f", value);
    const double written = std::strtod(text, nullptr);
    if (written < low || written > high)
        std::snprintf(text, sizeof text, "%.17g", std::clamp(value, low, high));
    return text;
}
} // namespace

bool RoomVariation::add(const std::string& text, std::string& error)
{
    const size_t equals = text.find('=');
    Range range;
    if (equals != std::string::npos)
        range.title = trimmed(text.substr(0, equals));
    const std::string values = equals == std::string::npos ? std::string() : text.substr(equals + 1);
    const size_t colon = values.find(':');
    if (colon != std::string::npos)
    {
        range.numeric = parseNumber(trimmed(values.substr(0, colon)), range.low)
                        && parseNumber(trimmed(values.substr(colon + 1)), range.high)
                        && range.low <= range.high;
        if (!range.numeric)
        {
            error = "--vary wants PARAM=LOW:HIGH with LOW at most HIGH, not '" + text + "'";
            return false;
        }
    }
    else
    {
        for (size_t start = 0; start <= values.size();)
        {
            const size_t comma = std::min(values.find(',', start), values.size());
            range.entries.push_back(trimmed(values.substr(start, comma - start)));
            start = comma + 1;
        }
    }
    const bool emptyEntry = std::any_of(range.entries.begin(), range.entries.end(),
                                        [](const std::string& e) { return e.empty(); });
    if (range.title.empty() || emptyEntry)
    {
        error = "--vary wants PARAM=LOW:HIGH or PARAM=A,B,C, not '" + text + "'";
        return false;
    }
    ranges.push_back(range);
    return true;
}

bool RoomVariation::learn(PluginSession& session, std::string& error)
{
    std::vector<Steinberg::Vst::ParamID> seen;
    for (Range& range : ranges)
    {
        ParameterShape shape;
        if (!describeParameter(session.controller(), range.title, shape, error))
        {
            error = "--vary " + range.title + ": " + error;
            return false;
        }
        if (std::find(seen.begin(), seen.end(), shape.id) != seen.end())
        {
            error = "--vary: \"" + shape.title + "\" is varied twice; give it once";
            return false;
        }
        seen.push_back(shape.id);
        if (range.numeric && shape.list)
        {
            std::string entries;
            for (const std::string& entry : shape.entries)
                entries += (entries.empty() ? "" : ",") + entry;
            error = "--vary " + range.title + ": \"" + shape.title
                    + "\" is a list, not a number; draw from its entries, e.g. --vary \"" + shape.title + "="
                    + entries + "\"";
            return false;
        }
        range.whole = range.numeric && shape.wholeNumbers;
        if (range.whole && std::ceil(range.low) > std::floor(range.high))
        {
            error = "--vary " + range.title + ": \"" + shape.title
                    + "\" takes whole numbers, and none lies from "
                    + numberText(range.low, range.low, range.high) + " to "
                    + numberText(range.high, range.low, range.high);
            return false;
        }
    }
    return check(session, error);
}

bool RoomVariation::check(PluginSession& session, std::string& error) const
{
    for (const Range& range : ranges)
    {
        std::vector<std::string> values = range.entries;
        if (range.numeric)
            values = {numberText(range.low, range.low, range.high),
                      numberText(range.high, range.low, range.high)};
        for (const std::string& value : values)
        {
            ParameterEdit edit;
            std::string why;
            if (!resolveSetting(session.controller(), range.title + "=" + value, edit, why))
            {
                error = "--vary " + range.title + ": " + why;
                return false;
            }
        }
    }
    return true;
}

std::vector<std::string> RoomVariation::draw(uint64_t seed, const std::string& outputName) const
{
    // mt19937_64 and seed_seq are defined to the bit by the language, so are these draws;
    // the standard distributions are not, hence the arithmetic below.
    const uint64_t name = nameHash(outputName);
    std::seed_seq sequence{static_cast<uint32_t>(seed), static_cast<uint32_t>(seed >> 32),
                           static_cast<uint32_t>(name), static_cast<uint32_t>(name >> 32)};
    std::mt19937_64 generator(sequence);
    std::vector<std::string> settings;
    for (const Range& range : ranges)
    {
        const double unit = static_cast<double>(generator() >> 11) * 0x1.0p-53; // [0, 1)
        if (range.whole)
        {
            const double first = std::ceil(range.low);
            const double count = std::floor(range.high) - first + 1.0;
            const double pick = std::min(std::floor(unit * count), count - 1.0);
            char text[32];
            std::snprintf(text, sizeof text, "%.0f", first + pick);
            settings.push_back(range.title + "=" + text);
        }
        else if (range.numeric)
            settings.push_back(
                range.title + "="
                + numberText(range.low + unit * (range.high - range.low), range.low, range.high));
        else
        {
            const auto pick = std::min(static_cast<size_t>(unit * static_cast<double>(range.entries.size())),
                                       range.entries.size() - 1);
            settings.push_back(range.title + "=" + range.entries[pick]);
        }
    }
    return settings;
}

} // namespace TessalineTool
