#include "ParameterEdit.h"

#include "HostStrings.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace TessalineTool {

using namespace Steinberg;
using namespace Steinberg::Vst;
using TessalineHost::toUtf8;

namespace {
std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool sameText(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string displayText(IEditController& controller, ParamID id, ParamValue normalized)
{
    String128 text = {};
    if (controller.getParamStringByValue(id, normalized, text) != kResultOk)
        return std::string();
    return toUtf8(text, 128);
}

std::string plainText(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// The parameters a user may set: everything the host shows except read-only ones.
bool findParameter(IEditController& controller, const std::string& title, ParameterInfo& found,
                   std::string& titles)
{
    for (int32 i = 0; i < controller.getParameterCount(); ++i)
    {
        ParameterInfo info = {};
        if (controller.getParameterInfo(i, info) != kResultOk || (info.flags & ParameterInfo::kIsReadOnly))
            continue;
        const std::string name = toUtf8(info.title, 128);
        if (sameText(name, title))
        {
            found = info;
            return true;
        }
        titles += (titles.empty() ? "" : ", ") + ("\"" + name + "\"");
    }
    return false;
}

// A list parameter takes one of its displayed entries.
bool resolveListEntry(IEditController& controller, const ParameterInfo& info, const std::string& value,
                      ParameterEdit& edit, std::string& error)
{
    std::string entries;
    for (int32 step = 0; step <= info.stepCount; ++step)
    {
        const ParamValue normalized = static_cast<double>(step) / info.stepCount;
        const std::string entry = displayText(controller, info.id, normalized);
        if (sameText(entry, value))
        {
            edit = {info.id, normalized};
            return true;
        }
        entries += (entries.empty() ? "" : ", ") + entry;
    }
    error =
        "'" + value + "' is not a value of \"" + toUtf8(info.title, 128) + "\"; choose one of: " + entries;
    return false;
}

// Any other parameter takes a plain number inside its range.
bool resolvePlainValue(IEditController& controller, const ParameterInfo& info, const std::string& value,
                       ParameterEdit& edit, std::string& error)
{
    const std::string title = toUtf8(info.title, 128);
    char* end = nullptr;
    errno = 0;
    const double plain = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(plain))
    {
        error = "\"" + title + "\" wants a number, not '" + value + "'";
        return false;
    }
    const double low = controller.normalizedParamToPlain(info.id, 0.0);
    const double high = controller.normalizedParamToPlain(info.id, 1.0);
    if (plain < std::fmin(low, high) || plain > std::fmax(low, high))
    {
        error = value + " is outside the range of \"" + title + "\" (" + plainText(low) + " to "
                + plainText(high) + ")";
        return false;
    }
    edit = {info.id, std::fmin(1.0, std::fmax(0.0, controller.plainParamToNormalized(info.id, plain)))};
    return true;
}
} // namespace

bool resolveSetting(IEditController& controller, const std::string& setting, ParameterEdit& edit,
                    std::string& error)
{
    const size_t equals = setting.find('=');
    if (equals == std::string::npos)
    {
        error = "--set wants PARAM=VALUE, not '" + setting + "'";
        return false;
    }
    const std::string title = trimmed(setting.substr(0, equals));
    const std::string value = trimmed(setting.substr(equals + 1));
    ParameterInfo info = {};
    std::string titles;
    if (!findParameter(controller, title, info, titles))
    {
        error = "unknown parameter \"" + title + "\"; the parameters are: " + titles;
        return false;
    }
    if ((info.flags & ParameterInfo::kIsList) && info.stepCount > 0)
        return resolveListEntry(controller, info, value, edit, error);
    return resolvePlainValue(controller, info, value, edit, error);
}

bool describeParameter(IEditController& controller, const std::string& title, ParameterShape& shape,
                       std::string& error)
{
    ParameterInfo info = {};
    std::string titles;
    if (!findParameter(controller, trimmed(title), info, titles))
    {
        error = "unknown parameter \"" + trimmed(title) + "\"; the parameters are: " + titles;
        return false;
    }
    shape = ParameterShape{};
    shape.id = info.id;
    shape.title = toUtf8(info.title, 128);
    shape.list = (info.flags & ParameterInfo::kIsList) && info.stepCount > 0;
    if (shape.list)
        for (int32 step = 0; step <= info.stepCount; ++step)
            shape.entries.push_back(
                displayText(controller, info.id, static_cast<double>(step) / info.stepCount));
    // A switch or a counter: stepped, the bypass, or shown without decimals at both ends.
    const auto whole = [](const std::string& text) {
        return !text.empty() && text.find_first_not_of("-0123456789") == std::string::npos;
    };
    shape.wholeNumbers =
        shape.list || info.stepCount > 0 || (info.flags & ParameterInfo::kIsBypass)
        || (whole(displayText(controller, info.id, 0.0)) && whole(displayText(controller, info.id, 1.0)));
    return true;
}

bool resolvePreset(const std::vector<TessalinePresets::FactoryPreset>& presets, const std::string& name,
                   ParameterEdit& edit, std::string& error)
{
    if (presets.empty())
    {
        error = "the plug-in offers no presets";
        return false;
    }
    const std::string wanted = trimmed(name);
    std::string names;
    for (const TessalinePresets::FactoryPreset& preset : presets)
    {
        if (sameText(preset.name, wanted))
        {
            edit = {preset.listId, preset.normalized};
            return true;
        }
        names += (names.empty() ? "" : ", ") + ("\"" + preset.name + "\"");
    }
    error = "unknown preset \"" + name + "\"; the presets are: " + names;
    return false;
}

} // namespace TessalineTool
