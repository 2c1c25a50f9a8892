#include "InfoJson.h"

#include "PluginSession.h"

#include "HostStrings.h"

#include <string>

namespace TessalineTool {

using namespace Steinberg;
using namespace Steinberg::Vst;
using nlohmann::ordered_json;
using TessalineHost::toUtf8;

namespace {
std::string display(IEditController& controller, ParamID id, double normalized)
{
    String128 text = {};
    return controller.getParamStringByValue(id, normalized, text) == kResultOk ? toUtf8(text, 128)
                                                                               : std::string();
}

ordered_json identity(const TessalineHost::HostModule& module, const std::string& bundlePath)
{
    ordered_json json;
    json["bundle"] = bundlePath;
    json["module"] = module.path();
    PFactoryInfo factory = {};
    if (module.factoryInfo(factory))
        json["factory"] = {{"vendor", factory.vendor},
                           {"url", factory.url},
                           {"email", factory.email},
                           {"flags", factory.flags}};
    json["classes"] = ordered_json::array();
    for (int32 i = 0; i < module.classCount(); ++i)
    {
        PClassInfo2 info = {};
        if (module.classInfo2(i, info))
            json["classes"].push_back({{"name", info.name},
                                       {"category", info.category},
                                       {"subCategories", info.subCategories},
                                       {"vendor", info.vendor},
                                       {"version", info.version},
                                       {"sdkVersion", info.sdkVersion},
                                       {"cid", TessalineHost::cidToHex(info.cid)}});
    }
    return json;
}

ordered_json flags(int32 bits)
{
    ordered_json names = ordered_json::array();
    const struct
    {
        int32 bit;
        const char* name;
    } known[] = {{ParameterInfo::kCanAutomate, "automate"},    {ParameterInfo::kIsReadOnly, "read-only"},
                 {ParameterInfo::kIsWrapAround, "wrap"},       {ParameterInfo::kIsList, "list"},
                 {ParameterInfo::kIsProgramChange, "program"}, {ParameterInfo::kIsBypass, "bypass"}};
    for (const auto& flag : known)
        if (bits & flag.bit)
            names.push_back(flag.name);
    return names;
}

// Plain values are what --set takes for a number; list parameters take one of their entries.
ordered_json parameter(IEditController& controller, const ParameterInfo& info)
{
    ordered_json json = {
        {"id", info.id},
        {"title", toUtf8(info.title, 128)},
        {"units", toUtf8(info.units, 128)},
        {"min", controller.normalizedParamToPlain(info.id, 0.0)},
        {"max", controller.normalizedParamToPlain(info.id, 1.0)},
        {"default", controller.normalizedParamToPlain(info.id, info.defaultNormalizedValue)},
        {"defaultText", display(controller, info.id, info.defaultNormalizedValue)},
        {"current", controller.normalizedParamToPlain(info.id, controller.getParamNormalized(info.id))},
        {"currentText", display(controller, info.id, controller.getParamNormalized(info.id))},
        {"stepCount", info.stepCount},
        {"unitId", info.unitId},
        {"flags", flags(info.flags)}};
    if ((info.flags & ParameterInfo::kIsList) && info.stepCount > 0)
    {
        ordered_json entries = ordered_json::array();
        for (int32 step = 0; step <= info.stepCount; ++step)
            entries.push_back(display(controller, info.id, static_cast<double>(step) / info.stepCount));
        json["entries"] = entries;
    }
    return json;
}
} // namespace

ordered_json infoJson(PluginSession& session, const std::string& bundlePath)
{
    ordered_json json = identity(session.loadedModule(), bundlePath);
    IEditController& controller = session.controller();
    json["parameters"] = ordered_json::array();
    for (int32 i = 0; i < controller.getParameterCount(); ++i)
    {
        ParameterInfo info = {};
        if (controller.getParameterInfo(i, info) == kResultOk)
            json["parameters"].push_back(parameter(controller, info));
    }
    json["presets"] = ordered_json::array();
    for (const auto& preset : session.presets())
        json["presets"].push_back(preset.name);
    return json;
}

} // namespace TessalineTool
