// `tessaline info`: the bundle's descriptions as a host enumerates them.
#include "Commands.h"
#include "CommandFailure.h"
#include "CommandHelp.h"
#include "CommandOptions.h"
#include "InfoJson.h"
#include "PluginSession.h"
#include "Vst2View.h"

#include "HostStrings.h"

#include <cstdio>
#include <string>

namespace TessalineTool {

using namespace Steinberg;
using namespace Steinberg::Vst;
using TessalineHost::toUtf8;

namespace {
std::string flagsText(int32 flags)
{
    std::string text;
    const struct
    {
        int32 bit;
        const char* name;
    } names[] = {{ParameterInfo::kCanAutomate, "automate"},    {ParameterInfo::kIsReadOnly, "read-only"},
                 {ParameterInfo::kIsWrapAround, "wrap"},       {ParameterInfo::kIsList, "list"},
                 {ParameterInfo::kIsProgramChange, "program"}, {ParameterInfo::kIsBypass, "bypass"}};
    for (const auto& n : names)
        if (flags & n.bit)
            text += (text.empty() ? "" : ",") + std::string(n.name);
    return text.empty() ? "-" : text;
}

void printFactory(const TessalineHost::HostModule& module)
{
    PFactoryInfo factory = {};
    if (module.factoryInfo(factory))
        std::printf("Factory\n  vendor: %s\n  url: %s\n  email: %s\n  flags: %d\n", factory.vendor,
                    factory.url, factory.email, factory.flags);
    for (int32 i = 0; i < module.classCount(); ++i)
    {
        PClassInfo2 info = {};
        if (!module.classInfo2(i, info))
            continue;
        std::printf("Class %d\n  name: %s\n  category: %s\n  subCategories: %s\n  vendor: %s\n"
                    "  version: %s\n  sdkVersion: %s\n  cardinality: 0x%X\n  classFlags: %u\n"
                    "  cid: %s\n",
                    i, info.name, info.category, info.subCategories, info.vendor, info.version,
                    info.sdkVersion, static_cast<unsigned>(info.cardinality), info.classFlags,
                    TessalineHost::cidToHex(info.cid).c_str());
    }
}

std::string display(IEditController& controller, ParamID id, double v)
{
    String128 text = {};
    if (controller.getParamStringByValue(id, v, text) != kResultOk)
        return "?";
    return toUtf8(text, 128);
}

void printParameters(IEditController& controller)
{
    const int32 count = controller.getParameterCount();
    std::printf("Parameters (%d)\n", count);
    std::printf("  %-10s %-22s %10s %10s %8s %-16s %-16s %-16s %-16s %5s %4s %s\n", "id", "title", "min",
                "max", "default", "min text", "default text", "max text", "current", "steps", "unit",
                "flags (units)");
    for (int32 i = 0; i < count; ++i)
    {
        ParameterInfo info = {};
        if (controller.getParameterInfo(i, info) != kResultOk)
            continue;
        const std::string units = toUtf8(info.units, 128);
        std::printf("  0x%-8X %-22s %10.4g %10.4g %8.4f %-16s %-16s %-16s %-16s %5d %4d %s%s\n", info.id,
                    toUtf8(info.title, 128).c_str(), controller.normalizedParamToPlain(info.id, 0.0),
                    controller.normalizedParamToPlain(info.id, 1.0), info.defaultNormalizedValue,
                    display(controller, info.id, 0.0).c_str(),
                    display(controller, info.id, info.defaultNormalizedValue).c_str(),
                    display(controller, info.id, 1.0).c_str(),
                    display(controller, info.id, controller.getParamNormalized(info.id)).c_str(),
                    info.stepCount, info.unitId, flagsText(info.flags).c_str(),
                    units.empty() ? "" : (" (" + units + ")").c_str());
    }
}

// What a file's sample rate does to the room, for users of `render`.
const char* const kRateBehaviour =
    "Sample rate\n"
    "  The room's component tables play sample for sample, so its time scale follows the\n"
    "  processing rate: T30 1.19 s at 44.1 kHz, 1.11 s at 48 kHz, 0.62 s at 96 kHz, 0.35 s at\n"
    "  192 kHz, the colour shifted by the same factor. `tessaline render` uses each file's own\n"
    "  rate, as a DAW does; `render --room-rate HZ` renders every file through the room as it\n"
    "  sounds at HZ (resampled with libsoxr), keeping the file's rate and length. The class\n"
    "  \"Tessaline Any Rate\" (`--any-rate`) plays the room as it sounds at 44.1 kHz at every\n"
    "  rate from 8 to 384 kHz: T30 1.19 s at each.\n";

void printUnitsAndPresets(IUnitInfo* units)
{
    if (!units)
    {
        std::printf("Units: none (no IUnitInfo)\n");
        return;
    }
    std::printf("Units (%d)\n", units->getUnitCount());
    for (int32 i = 0; i < units->getUnitCount(); ++i)
    {
        UnitInfo unit = {};
        if (units->getUnitInfo(i, unit) == kResultOk)
            std::printf("  id %d  parent %d  program list %d  %s\n", unit.id, unit.parentUnitId,
                        unit.programListId, toUtf8(unit.name, 128).c_str());
    }
    std::printf("Program lists (%d)\n", units->getProgramListCount());
    for (int32 i = 0; i < units->getProgramListCount(); ++i)
    {
        ProgramListInfo list = {};
        if (units->getProgramListInfo(i, list) != kResultOk)
            continue;
        std::printf("  id 0x%X  %s  (%d programs)\n", static_cast<unsigned>(list.id),
                    toUtf8(list.name, 128).c_str(), list.programCount);
        for (int32 p = 0; p < list.programCount; ++p)
        {
            String128 name = {};
            if (units->getProgramName(list.id, p, name) == kResultOk)
                std::printf("    %d  %s\n", p, toUtf8(name, 128).c_str());
        }
    }
}
} // namespace

int runInfo(const CommandLine& commandLine)
{
    bool json = false;
    bool help = false;
    const OptionTaker take = [&json](const Option& option, const std::string&, std::string& message) {
        if (option.id != OptionId::kJson)
            return optionNotRead(option, message);
        json = true;
        return true;
    };
    std::vector<std::string> files;
    std::string error;
    if (!readCommandOptions(commandLine.args, 0, kInfoScope, nullptr, take, help, files, error))
        return failUsage("info", error);
    if (!files.empty())
        return failUsage("info", "info takes no file names, not '" + files[0] + "'");
    if (help)
    {
        std::fputs(commandHelp(*findCommand("info")).c_str(), stdout);
        return 0;
    }
    PluginSession session;
    if (!session.open(commandLine.bundlePath, error))
        return fail(error);
    if (json)
    {
        std::printf("%s\n", infoJson(session, commandLine.bundlePath).dump(2).c_str());
        return 0;
    }
    std::printf("Bundle: %s\n", session.loadedModule().path().c_str());
    printFactory(session.loadedModule());
    printParameters(session.controller());
    printUnitsAndPresets(session.unitInfo());
    printVst2View(session.loadedModule().path());
    std::fputs(kRateBehaviour, stdout);
    return 0;
}

} // namespace TessalineTool
